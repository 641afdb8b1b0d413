// The library modules of memory blocks, strings and characters, vectors,
// arrays and hash tables, and dates and times.
#pragma once

namespace orvane {

// Runs the registration routines of those modules (the memory-block layer
// starts empty).
void register_library();

}  // namespace orvane
