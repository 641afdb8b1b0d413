// The list library: constructors, accessors, searching, association and
// property lists, copying, surgery, sets, grouping, sorting and counted loops.
#pragma once

namespace orvane {

void register_lists();

}  // namespace orvane
