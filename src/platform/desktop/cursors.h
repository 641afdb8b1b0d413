// Cursors: the built-in shapes under Win32's resource numbers (IDC_ARROW
// ...) and 16 x 16 monochrome cursors made from image and mask planes with a
// hot spot ("CURS" resources), shown through the screen. A window sets its
// cursor when it receives WM_SETCURSOR for its client area; the desktop's
// default procedure sets the sizing shapes over borders.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>

#include "platform/screen.h"

namespace orvane::desktop {

// A cursor handle: the IDC_ number of a built-in shape, or a made cursor's id.
struct Hcursor {
  std::uint32_t value = 0;
  constexpr explicit operator bool() const { return value != 0; }
  constexpr bool operator==(const Hcursor&) const = default;
};

// A "CURS" resource: 32 bytes of image, 32 of mask, the hot spot as two
// big-endian 16-bit numbers (row, then column). Nothing when too short; a
// hot spot outside the 16 x 16 cell is clamped into it.
std::optional<platform::MonochromeCursor> cursor_from_resource(std::span<const std::uint8_t> data);

class Cursors {
 public:
  explicit Cursors(platform::Screen& screen) : screen_(screen) {}

  // LoadCursor of a built-in shape by its IDC_ number; none for others.
  Hcursor load_cursor(std::uint32_t idc) const;
  Hcursor create_cursor(const platform::MonochromeCursor& cursor);
  // Built-in cursors are never destroyed; the current cursor cannot be.
  bool destroy_cursor(Hcursor cursor);
  bool is_cursor(Hcursor cursor) const;

  // SetCursor: shows it (none hides the cursor) and answers the previous one.
  Hcursor set_cursor(Hcursor cursor);
  Hcursor current() const { return current_; }
  // ShowCursor: the display count, shown while it is 0 or more.
  int show_cursor(bool show);

  // The busy cursor and back, for long work (the collector's cursor).
  void begin_wait();
  void end_wait();

 private:
  void apply();

  platform::Screen& screen_;
  std::unordered_map<std::uint32_t, platform::MonochromeCursor> made_;
  std::uint32_t next_id_ = 1;
  Hcursor current_{32512};  // IDC_ARROW
  int display_count_ = 0;
  int wait_depth_ = 0;
};

}  // namespace orvane::desktop
