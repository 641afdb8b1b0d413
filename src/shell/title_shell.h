// Playing a title: the process-wide shell state (a documented singleton,
// current while a title plays), the frame on the desktop, the splash
// sequence, the boot of the Lisp world from the title's resources, the
// start and quit hooks, the run-time's alerts, and the orderly shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/memory_config.h"
#include "shell/alerts.h"
#include "shell/title_file.h"

namespace orvane::desktop {
class Desktop;
}
namespace orvane::platform {
class Screen;
}

namespace orvane::shell {

// Thrown by the quit primitives (and by the event pump when the quit
// message arrives): unwinds to the title's runner, which shuts down in order.
struct QuitRequest {
  int code = 0;
};

struct TitleRunOptions {
  std::string path;                     // the title's resource file
  TitlePreferences preferences;         // read before the world exists
  MemoryOverrides memory_overrides;     // the command line's --symbols, --nodes, --heap
  bool fullscreen = false;
};

// The tick clock: the host's milliseconds x 3 / 50 (60 ticks a second).
std::uint64_t ticks_now();

class TitleShell {
 public:
  // The shell of the title playing now; none outside a play.
  static TitleShell* current();

  int language() const { return language_; }
  void set_language(int language) { language_ = language; }
  AlertParameters& alert_parameters() { return parameters_; }
  // Shows alert base + language; answers the button's id, 0 when that
  // language has no such alert.
  int show_alert(int base);
  std::int32_t boot_ticks() const { return boot_ticks_; }

  // The splash sequence: advance when the current picture's time is up;
  // wait until its last picture has had its time.
  void test_splash();
  void wait_for_splash();

  // Where the file dialogs open: "ORVANE.INI" [EG] LastDir, read at start-up.
  const std::string& file_dialog_directory() const;
  platform::Screen& screen() { return screen_; }
  desktop::Desktop& desktop() { return desktop_; }
  // The MDI client's size.
  std::pair<int, int> client_size() const;
  // One pass of the event pump over the mask's classes of events (-1: all;
  // the host's poll_events), then the screen is shown and the backend's
  // input waited for until the next millisecond.
  void event_pass(int mask = -1);
  // Ends the run in order with the code (does not return).
  [[noreturn]] void quit(int code);

  // Runs the title from its boot to its end; answers the process's status.
  static int run(desktop::Desktop& desktop, platform::Screen& screen, const TitleRunOptions& options,
                 const AlertPresenter& present);

  TitleShell(desktop::Desktop& desktop, platform::Screen& screen, const TitleRunOptions& options,
             const AlertPresenter& present);
  ~TitleShell();
  TitleShell(const TitleShell&) = delete;
  TitleShell& operator=(const TitleShell&) = delete;

 private:
  struct Frame;
  struct Splash;
  void create_frame();
  void boot(std::uint64_t start_ticks);
  void load_code_resources();
  void start_splash();
  void advance_splash();
  void end_splash();
  void shut_down();

  desktop::Desktop& desktop_;
  platform::Screen& screen_;
  const TitleRunOptions& options_;
  const AlertPresenter& present_;
  int language_ = 0;
  std::uint8_t flags_ = 0;
  std::int32_t boot_ticks_ = 0;
  AlertParameters parameters_;
  std::unique_ptr<Frame> frame_;
  std::unique_ptr<Splash> splash_;
  bool input_ended_ = false;                 // the backend will bring no more input
};

// The shell's primitives (quit, alerts' language, the screen, the splash).
void register_shell_primitives();

}  // namespace orvane::shell
