// The SDL2 backend's screen: the host window is the frame; the framebuffer
// is shown through a streaming texture updated by its dirty rectangles, at an
// integer scale (and the host's HiDPI factor on top). Input comes from the
// host: keys mapped to Win32 virtual keys with the extended-key bit, typed
// characters from SDL's text input, the mouse in framebuffer pixels.
//
// The backend's own keys, which no title key can collide with because they
// need Ctrl, Alt and Shift at once, never reach the desktop:
//   Ctrl+Alt+Shift+F  toggles fullscreen;
//   Ctrl+Alt+Shift+S  writes the framebuffer as a PNG file
//                     ("orvane-screenshot-N.png" in the screenshot directory).
//
// SDL's headers stay inside this backend's .cpp files.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/backends/backend_screen.h"
#include "platform/backends/event_script.h"

namespace orvane::platform::backends {

struct SdlOptions {
  raster::IntSize size{1024, 768};  // the framebuffer, before any scale
  int scale = 1;                    // integer scaling of every pixel (1-8)
  std::string title;                // Windows-1252
  WindowFlags flags;
  // When not empty, the user's input is written there as an event script.
  std::string record_path;
  std::filesystem::path screenshot_directory{"."};
  // When given, the script plays through SDL's own event queue on the real
  // clock, by the headless timeline's rules, and its frames are read back
  // from the window into screenshot_directory; the user's own mouse and
  // keys are ignored meanwhile, and the run ends with the script.
  std::optional<EventScript> replay;
};

// No display could be opened (no X server, no Wayland, no video driver): the
// caller can offer the headless backend instead.
class DisplayUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SdlScreen final : public BackendScreen {
 public:
  // Throws DisplayUnavailable when no display can be opened, and
  // std::runtime_error when the recording file cannot be written.
  explicit SdlScreen(const SdlOptions& options);
  ~SdlScreen() override;
  SdlScreen(const SdlScreen&) = delete;
  SdlScreen& operator=(const SdlScreen&) = delete;

  raster::IntSize size() const override;
  raster::IntSize display_size() const override;
  void present(const raster::Surface& framebuffer, std::span<const raster::IntRect> dirty) override;
  std::optional<InputEvent> poll_input() override;
  bool wait_for_input(const raster::Surface& framebuffer, std::optional<std::uint64_t> deadline) override;

  void set_title(std::string_view text) override;
  void set_window_flags(const WindowFlags& flags) override;
  void set_cursor(CursorShape shape) override;
  void set_cursor(const MonochromeCursor& cursor) override;
  std::string clipboard_text() override;
  void set_clipboard_text(std::string_view text) override;

  void show_busy_cursor(bool busy) override;
  void alert(std::string_view text) override;
  int ok_quit_alert(std::string_view text) override;

  // What the window shows, read back from the renderer at framebuffer
  // resolution (tests compare it with headless frames); none before the
  // first present or when the renderer cannot read.
  std::optional<raster::Surface> read_back();
  // Puts an input event into SDL's own event queue the way the host would
  // (tests and benchmarks drive a real window with it).
  void inject(const InputEvent& event);
  // The name of the renderer SDL chose (for reports and benchmarks).
  std::string renderer_name() const;
  // Frames of a replayed script that could not be written.
  int frames_failed() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvane::platform::backends
