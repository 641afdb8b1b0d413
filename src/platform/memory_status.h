// What the host reports about its memory.
#pragma once

#include <cstdint>

namespace orvane::platform {

// Bytes of memory the host can still give this process (free and reclaimable
// memory plus free swap); 0 when it cannot tell.
std::uint64_t available_host_memory();

}  // namespace orvane::platform
