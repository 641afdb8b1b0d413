#include "platform/backends/headless_screen.h"

#include <iostream>

#include "platform/raster/png_io.h"

namespace orvane::platform::backends {

HeadlessScreen::HeadlessScreen(HeadlessClock& clock, EventScript script, HeadlessOptions options)
    : clock_(clock), script_(std::move(script)), options_(std::move(options)) {}

void HeadlessScreen::present(const raster::Surface&, std::span<const raster::IntRect>) { ++presents_; }

std::optional<InputEvent> HeadlessScreen::poll_input() {
  if (next_ >= script_.steps.size()) return std::nullopt;
  const ScriptStep& step = script_.steps[next_];
  if (step.kind != ScriptStep::Kind::input || step.time > clock_.now()) return std::nullopt;
  ++next_;
  return step.event;
}

bool HeadlessScreen::wait_for_input(const raster::Surface& framebuffer, std::optional<std::uint64_t> deadline) {
  for (;;) {
    take_due_frames(framebuffer);
    std::uint64_t now = clock_.now();
    if (deadline && *deadline <= now) return true;
    if (next_ >= script_.steps.size()) {
      if (now >= script_.end_time) return false;
      // A final wait lets the timers run to its end.
      if (!deadline) {
        clock_.jump_to(script_.end_time);
        return false;
      }
      clock_.jump_to(std::min(*deadline, script_.end_time));
      return true;
    }
    const ScriptStep& step = script_.steps[next_];
    if (step.time <= now) return true;  // an input is due
    if (deadline && *deadline < step.time) {
      clock_.jump_to(*deadline);
      return true;
    }
    clock_.jump_to(step.time);
    if (step.kind == ScriptStep::Kind::input) return true;
  }
}

void HeadlessScreen::take_due_frames(const raster::Surface& framebuffer) {
  while (next_ < script_.steps.size()) {
    const ScriptStep& step = script_.steps[next_];
    if (step.kind != ScriptStep::Kind::frame || step.time > clock_.now()) return;
    take_frame(framebuffer, step);
    ++next_;
  }
}

void HeadlessScreen::take_frame(const raster::Surface& framebuffer, const ScriptStep& step) {
  std::filesystem::path path = options_.frames_directory / std::filesystem::path(step.frame_file);
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::string error;
  if (!raster::write_png(framebuffer, path.string(), &error)) {
    ++frames_failed_;
    report("line " + std::to_string(step.line) + ": cannot write frame " + path.string() + ": " + error);
    return;
  }
  frames_written_.push_back(path);
}

void HeadlessScreen::set_cursor(CursorShape shape) { cursor_ = shape; }
void HeadlessScreen::set_cursor(const MonochromeCursor&) { cursor_.reset(); }

std::optional<CursorShape> HeadlessScreen::cursor_shape() const {
  if (busy_) return CursorShape::wait;
  return cursor_;
}

void HeadlessScreen::report(const std::string& text) {
  if (options_.report) options_.report(text);
  else std::cerr << text << '\n';
}

void HeadlessScreen::alert(std::string_view text) { alerts_.emplace_back(text); }

int HeadlessScreen::ok_quit_alert(std::string_view text) {
  alerts_.emplace_back(text);
  return 1;
}

}  // namespace orvane::platform::backends
