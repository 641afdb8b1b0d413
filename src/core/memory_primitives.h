// The Lisp primitives of the memory zones and the collector.
#pragma once

namespace orvane {

// Binds recycle, zone-addresses, space-subr, free-space-subr,
// space-size-subr, memory-growable?, set-memory-growable?, grow-nodes,
// grow-heap and the move- primitives.
void register_memory();

}  // namespace orvane
