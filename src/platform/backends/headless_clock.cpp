#include "platform/backends/headless_clock.h"

namespace orvane::platform::backends {

std::uint64_t HeadlessClock::milliseconds() {
  if (last_read_ == now_) now_ += kIdleStep;
  last_read_ = now_;
  return now_;
}

}  // namespace orvane::platform::backends
