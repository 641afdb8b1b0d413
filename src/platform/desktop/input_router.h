// Turns the screen's raw input into queued messages: mouse events go to the
// capture or to the window under the cursor (by WM_NCHITTEST), with mouse
// activation and double clicks (none inside a disabled window); keys go to the focus window with Win32's
// lParam bits; typed text rides with the key that typed it.
#pragma once

#include "platform/desktop/message.h"
#include "platform/screen.h"

namespace orvane::desktop {

class InputRouter {
 public:
  explicit InputRouter(Desktop& desktop) : desktop_(desktop) {}

  // The one place raw input becomes messages.
  void route(const platform::InputEvent& event);

 private:
  void route_mouse(const platform::InputEvent& event);
  void route_key(const platform::InputEvent& event);
  void route_text(const platform::InputEvent& event);
  void resize_framebuffer();

  void update_button_state(const platform::InputEvent& event);
  void update_modifier_state(const platform::Modifiers& modifiers);
  // False when the press was eaten by mouse activation.
  bool mouse_activate(Hwnd target, int hit, std::uint32_t message);
  Hwnd disabled_window_over(Hwnd target) const;
  void refuse_input(Hwnd disabled, std::uint32_t message);
  bool is_double_click(Hwnd target, int hit, std::uint32_t down_message, const platform::InputEvent& event);
  std::uint32_t mouse_key_flags() const;

  Desktop& desktop_;
};

}  // namespace orvane::desktop
