#include "platform/memory_status.h"

#include <sys/sysinfo.h>

namespace orvane::platform {

std::uint64_t available_host_memory() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return 0;
  std::uint64_t unit = info.mem_unit ? info.mem_unit : 1;
  return (std::uint64_t{info.freeram} + info.bufferram + info.freeswap) * unit;
}

}  // namespace orvane::platform
