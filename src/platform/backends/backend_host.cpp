#include "platform/backends/backend_host.h"

namespace orvane::platform::backends {

BackendHost::BackendHost(Clock& clock, BackendScreen& screen, Console& terminal, std::ostream& errors,
                         bool terminal_input)
    : clock_(clock), screen_(screen), terminal_(terminal), errors_(errors), terminal_input_(terminal_input) {}

void BackendHost::write_error_line(std::string_view text) {
  terminal_.flush();
  errors_ << windows1252_to_utf8(text) << '\n';
  errors_.flush();
}

void BackendHost::internal_error_alert(std::string_view text) {
  write_error_line(text);
  screen_.alert(text);
}

int BackendHost::out_of_memory_alert() {
  static constexpr std::string_view kText = "Out of Memory";
  write_error_line(kText);
  return screen_.ok_quit_alert(kText);
}

}  // namespace orvane::platform::backends
