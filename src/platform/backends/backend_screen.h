// What both backends add to the desktop's Screen for their host: the busy
// cursor shown around collections and the run-time's own alerts.
#pragma once

#include <string_view>

#include "platform/screen.h"

namespace orvane::platform::backends {

class BackendScreen : public Screen {
 public:
  // Shows the wait cursor over whatever the desktop chose, or takes it away
  // again (the desktop's last choice shows once more).
  virtual void show_busy_cursor(bool busy) = 0;
  // An alert with one "OK" button.
  virtual void alert(std::string_view text) = 0;
  // An alert with "OK" and "Quit": answers 1 for OK, 2 for Quit.
  virtual int ok_quit_alert(std::string_view text) = 0;
};

}  // namespace orvane::platform::backends
