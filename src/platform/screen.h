// The screen: what a backend gives the desktop. The desktop owns one 32-bit
// framebuffer (the frame's client area: menu bar, then the MDI client) and
// draws every window into it; the backend shows that framebuffer and hands
// back raw input. The desktop and everything above it cannot tell the SDL2
// backend from the headless one.
//
// Coordinates are framebuffer pixels. Text is Windows-1252.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/raster/geometry.h"
#include "platform/raster/surface.h"

namespace orvane::platform {

enum class MouseButton : std::uint8_t { left, right, middle };

// Modifier keys held when an input event happened.
struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

// One raw input event, as the user made it.
struct InputEvent {
  enum class Kind : std::uint8_t {
    mouse_move,
    mouse_down,
    mouse_up,
    key_down,      // a key went down (auto-repeat repeats it)
    key_up,
    text,          // typed characters, after the host's keyboard layout
    close_request, // the frame's close box (the host window's, or a script's `close`)
    quit,          // end the run in order (a script's `quit`, or its end)
    resized,       // the framebuffer changed size: see Screen::size()
  };
  Kind kind = Kind::mouse_move;
  raster::IntPoint position;             // mouse events
  MouseButton button = MouseButton::left;
  int clicks = 1;                        // mouse_down: 2 for a double click the host saw
  std::uint8_t virtual_key = 0;          // key events: the Win32 virtual-key code
  bool extended = false;                 // key events: the extended-key bit
  std::uint16_t scan_code = 0;           // key events: the PC scan code, when known
  Modifiers modifiers;
  std::string text;                      // text events, Windows-1252
};

// How the frame's host window looks ("PREF" 257's flags and the command line).
struct WindowFlags {
  bool resizable = true;
  bool borderless = false;
  bool topmost = false;
  bool maximised = false;
  bool fullscreen = false;
};

// The shapes of the built-in cursors.
enum class CursorShape : std::uint8_t {
  arrow, ibeam, cross, wait, size_we, size_ns, size_nwse, size_nesw, hidden
};

// A 16 x 16 monochrome cursor: image and mask planes, one bit a pixel, rows
// of two bytes, most significant bit leftmost, as "CURS" resources hold them.
struct MonochromeCursor {
  std::uint8_t image[32] = {};
  std::uint8_t mask[32] = {};
  raster::IntPoint hot_spot;
};

class Screen {
 public:
  virtual ~Screen() = default;

  // The framebuffer's size in pixels.
  virtual raster::IntSize size() const = 0;
  // The size of the whole display (screen-width, screen-height).
  virtual raster::IntSize display_size() const = 0;

  // Shows the framebuffer; only the dirty rectangles changed since the last
  // call. The framebuffer is 32-bit (0x00RRGGBB) and of size().
  virtual void present(const raster::Surface& framebuffer,
                       std::span<const raster::IntRect> dirty) = 0;

  // The next input event whose time has come, without waiting.
  virtual std::optional<InputEvent> poll_input() = 0;
  // Called when the desktop finds nothing to do (no message, no paint, no
  // due timer): waits until input arrives or the clock reaches `deadline`
  // (milliseconds of the host clock; none: no timer is pending). The
  // framebuffer is as the last paint left it: the headless backend takes the
  // frames a script asked for here, then moves its virtual clock to the next
  // scripted command or the deadline, whichever comes first. Answers false
  // when no input can ever come again (a script run to its end).
  virtual bool wait_for_input(const raster::Surface& framebuffer,
                              std::optional<std::uint64_t> deadline) = 0;

  virtual void set_title(std::string_view text) = 0;
  virtual void set_window_flags(const WindowFlags& flags) = 0;
  virtual void set_cursor(CursorShape shape) = 0;
  virtual void set_cursor(const MonochromeCursor& cursor) = 0;

  // The host clipboard's text (Windows-1252); empty when none.
  virtual std::string clipboard_text() = 0;
  virtual void set_clipboard_text(std::string_view text) = 0;
};

}  // namespace orvane::platform
