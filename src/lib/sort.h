// Sorting a list through a buffer of (element, key) pairs.
#pragma once

#include "core/value.h"

namespace orvane {

// A new list of the elements of `list` ordered by pred on their keys (key
// nil: the elements themselves); pred answering anything but nil means
// "less". Not stable. When `same` is not nil, an element is left out when
// same(previous key, its key) holds. The list given is not modified; pred,
// key and same may allocate, throw, and sort again.
Value sort_list(Value pred, Value list, Value key, Value same);

}  // namespace orvane
