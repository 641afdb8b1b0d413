// The caret: one per thread, as in Win32, owned by the window that created
// it. It blinks at the blink time on the desktop's clock, drawn by
// inverting its rectangle in the framebuffer through a device context of
// its owner's client area (so it never shows outside what is visible of
// it). Show and hide nest: a new caret is hidden once; it shows when every
// hide has been matched by a show. As in Win32, the caret is taken off while
// its owner paints (WM_PAINT) and put back after, and it goes with its owner.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

class Caret {
 public:
  // Registers the class of the caret's hidden timer window; the desktop
  // must outlive this object.
  explicit Caret(Desktop& desktop);
  ~Caret();
  Caret(const Caret&) = delete;
  Caret& operator=(const Caret&) = delete;

  // CreateCaret: a solid caret of that size (0 means one pixel wide, or the
  // system font's height), at (0, 0) of the owner's client area, hidden.
  // Destroys the caret another window had.
  bool create(Hwnd owner, int width, int height);
  bool destroy();
  // DestroyCaret only when the caret is this window's (a window going away).
  void window_destroyed(Hwnd hwnd);

  bool set_position(raster::IntPoint client_point);
  std::optional<raster::IntPoint> position() const;
  // HideCaret and ShowCaret for the owner (or any window when `hwnd` is none).
  bool hide(Hwnd hwnd = {});
  bool show(Hwnd hwnd = {});

  Hwnd owner() const { return owner_; }
  int hide_count() const { return hide_count_; }
  bool visible() const { return owner_ && hide_count_ == 0; }
  // Whether the caret's pixels are inverted on the screen right now.
  bool drawn() const { return drawn_; }

  std::uint32_t blink_time() const { return blink_time_; }
  void set_blink_time(std::uint32_t ms);

  // The blink timer's tick (the timer window's WM_TIMER).
  void blink();

 private:
  void draw_on();
  void draw_off();
  void invert();
  void restart_timer();
  // Chains a procedure in front of the owner's that hides the caret around
  // its paint and destroys the caret with it (once per window).
  void watch(Hwnd owner);

  Desktop& desktop_;
  Hwnd timer_window_;
  Hwnd owner_;
  raster::IntRect rect_;  // the owner's client coordinates
  int hide_count_ = 0;
  bool drawn_ = false;
  // What the framebuffer showed under each caret pixel after inverting, to
  // tell whether a paint has since covered it (then it is not inverted back).
  std::vector<std::uint32_t> drawn_pixels_;
  raster::IntRect drawn_screen_rect_;
  std::uint32_t blink_time_ = 530;
  std::unordered_set<Hwnd> watched_;
  // Held by this object alone: the procedures chained in front of owners
  // see through it whether the caret still exists.
  std::shared_ptr<Caret*> self_ = std::make_shared<Caret*>(this);
};

}  // namespace orvane::desktop
