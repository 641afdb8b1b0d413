// The Lisp primitives of the memory-block layer: handles, pointer blocks,
// raw memory access and the byte-stream records.
#pragma once

namespace orvane {

void register_blocks();

}  // namespace orvane
