// Reaching the text held in a memory block named by a Lisp pointer or
// handle Value, through the block layer's checked access.
#pragma once

#include <cstdint>
#include <vector>

#include "core/blocks.h"
#include "core/value.h"

namespace orvane::charsets {

// A non-negative integer argument (a count or a position); error 2 with the
// Value otherwise.
std::uint32_t count_argument(Value v);

// The host address of the first n bytes of the block named by a pointer or
// handle Value; error 2 when those bytes do not lie inside a live block
// open to Lisp. Valid only until the next allocation.
std::uint8_t* text_bytes(Value pointer, std::uint32_t n, Access access);

// A copy of the first n bytes, safe to keep across allocations.
std::vector<std::uint8_t> copy_text(Value pointer, std::uint32_t n);

}  // namespace orvane::charsets
