#pragma once

#include "core/value.h"

namespace orvane {

void register_core();

}  // namespace orvane
