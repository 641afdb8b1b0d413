// The headless backend's screen: no window; the framebuffer is shown to no
// one; input comes from an event script on the headless clock's timeline and
// frames are written as PNG files when the script asks.
//
// Timing:
//   - poll_input delivers the next scripted input once the clock has reached
//     its time. It never delivers past a frame the script asked for first:
//     the inputs after a `frame` wait until that frame is taken.
//   - wait_for_input (the desktop has nothing to do) first takes every frame
//     whose time has come, from the framebuffer it is given; then, if no
//     input is due, jumps the clock to the next scripted command or to the
//     deadline, whichever comes first (taking a frame found there at once).
//   - When the script is exhausted (its last command delivered and its last
//     wait over), wait_for_input answers false: no input can come again.
//     Pending timers run until the end of a final `wait`.
// Runs are deterministic: nothing here reads the host.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/backends/backend_screen.h"
#include "platform/backends/event_script.h"
#include "platform/backends/headless_clock.h"

namespace orvane::platform::backends {

struct HeadlessOptions {
  raster::IntSize size{1024, 768};  // the framebuffer: what the host window would show
  std::filesystem::path frames_directory{"."};
  // Where a frame that cannot be written is reported (standard error when
  // none is given).
  std::function<void(const std::string&)> report;
  // The virtual display the window sits on: what `screen-width` answers.
  raster::IntSize display{1024, 768};
};

class HeadlessScreen final : public BackendScreen {
 public:
  HeadlessScreen(HeadlessClock& clock, EventScript script, HeadlessOptions options);

  raster::IntSize size() const override { return options_.size; }
  raster::IntSize display_size() const override { return options_.display; }
  void present(const raster::Surface& framebuffer, std::span<const raster::IntRect> dirty) override;
  std::optional<InputEvent> poll_input() override;
  bool wait_for_input(const raster::Surface& framebuffer, std::optional<std::uint64_t> deadline) override;

  void set_title(std::string_view text) override { title_ = text; }
  void set_window_flags(const WindowFlags& flags) override { flags_ = flags; }
  void set_cursor(CursorShape shape) override;
  void set_cursor(const MonochromeCursor& cursor) override;
  std::string clipboard_text() override { return clipboard_; }
  void set_clipboard_text(std::string_view text) override { clipboard_ = text; }

  void show_busy_cursor(bool busy) override { busy_ = busy; }
  // No one can answer: alerts are kept (the host has written them as error
  // lines) and the out-of-memory alert answers OK.
  void alert(std::string_view text) override;
  int ok_quit_alert(std::string_view text) override;

  // What the run has shown, for tests and the demo's report.
  const std::string& title() const { return title_; }
  const WindowFlags& window_flags() const { return flags_; }
  // The cursor showing: the busy one, else the desktop's last choice
  // (nothing when it chose a monochrome cursor).
  std::optional<CursorShape> cursor_shape() const;
  std::vector<std::filesystem::path> frames_written() const { return frames_written_; }
  int frames_failed() const { return frames_failed_; }
  int presents() const { return presents_; }
  const std::vector<std::string>& alerts() const { return alerts_; }
  bool script_exhausted() const { return next_ >= script_.steps.size(); }

 private:
  void take_due_frames(const raster::Surface& framebuffer);
  void take_frame(const raster::Surface& framebuffer, const ScriptStep& step);
  void report(const std::string& text);

  HeadlessClock& clock_;
  EventScript script_;
  HeadlessOptions options_;
  std::size_t next_ = 0;
  std::string title_;
  WindowFlags flags_;
  std::optional<CursorShape> cursor_ = CursorShape::arrow;
  bool busy_ = false;
  std::string clipboard_;
  std::vector<std::filesystem::path> frames_written_;
  int frames_failed_ = 0;
  int presents_ = 0;
  std::vector<std::string> alerts_;
};

}  // namespace orvane::platform::backends
