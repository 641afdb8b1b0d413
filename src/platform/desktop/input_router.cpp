#include "platform/desktop/input_router.h"

#include <cstdlib>

#include "platform/desktop/desktop.h"

namespace orvane::desktop {

using platform::InputEvent;
using platform::MouseButton;
using raster::IntPoint;

namespace {

std::uint8_t button_key(MouseButton b) {
  switch (b) {
    case MouseButton::left: return VK_LBUTTON;
    case MouseButton::right: return VK_RBUTTON;
    default: return VK_MBUTTON;
  }
}

// WM_LBUTTONDOWN, WM_RBUTTONDOWN or WM_MBUTTONDOWN.
std::uint32_t down_message(MouseButton b) {
  switch (b) {
    case MouseButton::left: return WM_LBUTTONDOWN;
    case MouseButton::right: return WM_RBUTTONDOWN;
    default: return WM_MBUTTONDOWN;
  }
}

// The non-client form of a client mouse message.
std::uint32_t non_client_form(std::uint32_t message) { return message - WM_MOUSEMOVE + WM_NCMOUSEMOVE; }

}  // namespace

void InputRouter::route(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::mouse_move:
    case InputEvent::Kind::mouse_down:
    case InputEvent::Kind::mouse_up:
      route_mouse(event);
      return;
    case InputEvent::Kind::key_down:
    case InputEvent::Kind::key_up:
      route_key(event);
      return;
    case InputEvent::Kind::text:
      route_text(event);
      return;
    case InputEvent::Kind::close_request:
      // As a click on the frame's close box.
      if (desktop_.host_frame())
        desktop_.post_message(desktop_.host_frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case InputEvent::Kind::quit:
      desktop_.post_quit_message(0);
      return;
    case InputEvent::Kind::resized:
      resize_framebuffer();
      return;
  }
}

void InputRouter::route_mouse(const InputEvent& event) {
  Desktop& d = desktop_;
  d.cursor_ = event.position;
  update_modifier_state(event.modifiers);
  update_button_state(event);

  std::uint32_t message = WM_MOUSEMOVE;
  if (event.kind == InputEvent::Kind::mouse_down) message = down_message(event.button);
  if (event.kind == InputEvent::Kind::mouse_up) message = down_message(event.button) + 1;

  // Who gets it: the capture as client input, else the window under the cursor.
  Hwnd target = d.capture_;
  int hit = HTCLIENT;
  if (!target) {
    target = d.window_from_point(event.position);
    if (!target || target == d.root_) return;  // outside every window
    if (const Hwnd disabled = disabled_window_over(target)) {
      refuse_input(disabled, message);
      return;
    }
    hit = static_cast<int>(d.send_message(target, WM_NCHITTEST, 0, lparam_of(event.position)));
    if (!d.is_window(target) || hit == HTNOWHERE || hit == HTERROR || hit == HTTRANSPARENT) return;
    d.send_message(target, WM_SETCURSOR, static_cast<WParam>(target.value), make_lparam(hit, static_cast<int>(message)));
    if (!d.is_window(target)) return;
  }

  if (event.kind == InputEvent::Kind::mouse_down) {
    if (!d.capture_ && !mouse_activate(target, hit, message)) return;
    if (!d.is_window(target)) return;
    if (is_double_click(target, hit, message, event)) message += 2;  // WM_xBUTTONDBLCLK
  }

  const bool client = hit == HTCLIENT;
  Message m = d.make_message(target, client ? message : non_client_form(message),
                             client ? mouse_key_flags() : static_cast<WParam>(hit),
                             client ? lparam_of(d.screen_to_client(target, event.position))
                                    : lparam_of(event.position));
  if (message == WM_MOUSEMOVE) d.queue_.post_mouse_move(m);
  else d.queue_.post(m);
}

// The outermost disabled window among target and its ancestors: a window
// disabled by a modal dialog holds off input for everything inside it.
Hwnd InputRouter::disabled_window_over(Hwnd target) const {
  const Desktop& d = desktop_;
  Hwnd disabled;
  for (Hwnd h = target; h && h != d.root_; h = d.parent(h))
    if (!d.is_enabled(h)) disabled = h;
  return disabled;
}

// As on Win32, the disabled window is told (WM_SETCURSOR with HTERROR) and
// the input goes nowhere; a press brings back the popup it owns, such as the
// modal dialog that disabled it, when that popup is not already active.
void InputRouter::refuse_input(Hwnd disabled, std::uint32_t message) {
  Desktop& d = desktop_;
  d.send_message(disabled, WM_SETCURSOR, static_cast<WParam>(disabled.value), make_lparam(HTERROR, static_cast<int>(message)));
  const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
  const Hwnd top = d.top_level(disabled);
  if (!press || !d.is_window(top)) return;
  Hwnd popup;
  for (Hwnd h : d.children(d.root_)) {
    if (d.owner(h) != top || !d.is_visible(h) || !d.is_enabled(h)) continue;
    if (h == d.active_) return;
    if (!popup) popup = h;
  }
  if (popup) d.activate(popup, WA_CLICKACTIVE);
}

// WM_MOUSEACTIVATE decides whether a press activates its top-level window
// (and MDI child) and whether the press itself is delivered.
bool InputRouter::mouse_activate(Hwnd target, int hit, std::uint32_t message) {
  Desktop& d = desktop_;
  const Hwnd top = d.top_level(target);
  bool needs_activation = top && top != d.active_;
  for (Hwnd h = target; h && h != top; h = d.parent(h)) {
    const Hwnd client = d.parent(h);
    if ((d.ex_style(h) & WS_EX_MDICHILD) && d.mdi_clients_.contains(client) &&
        d.mdi_clients_.at(client).active != h)
      needs_activation = true;
  }
  if (!needs_activation) return true;
  const LResult answer = d.send_message(target, WM_MOUSEACTIVATE, static_cast<WParam>(top.value),
                                        make_lparam(hit, static_cast<int>(message)));
  if (answer == MA_NOACTIVATEANDEAT) return false;
  if (answer == MA_NOACTIVATE) return true;
  if (top && top != d.active_ && d.is_window(top)) d.activate(top, WA_CLICKACTIVE);
  // Document windows of an MDI client activate through WM_CHILDACTIVATE.
  for (Hwnd h = target; h && d.is_window(h) && h != top; h = d.parent(h)) {
    if (d.ex_style(h) & WS_EX_MDICHILD) d.send_message(h, WM_CHILDACTIVATE);
  }
  return answer != MA_ACTIVATEANDEAT;
}

// Win32's rule: the same button on the same window, within the double-click
// time and a 4 x 4 box around the first press, on a class that asks for
// double clicks (non-client presses always qualify); the third press starts over.
bool InputRouter::is_double_click(Hwnd target, int hit, std::uint32_t down, const InputEvent& event) {
  Desktop& d = desktop_;
  const std::uint64_t now = d.clock_.milliseconds();
  const WindowClass* cls = d.window_class(target);
  const bool wants = hit != HTCLIENT || (cls && (cls->style & CS_DBLCLKS));
  const auto& last = d.last_click_;
  const bool in_box = std::abs(event.position.x - last.screen.x) <= kDoubleClickWidth / 2 &&
                      std::abs(event.position.y - last.screen.y) <= kDoubleClickHeight / 2;
  const bool in_time = now - last.time <= kDoubleClickMilliseconds || event.clicks >= 2;
  const bool is_double = wants && !last.was_double && last.hwnd == target && last.message == down &&
                         in_box && in_time;
  d.last_click_ = {target, down, now, event.position, is_double};
  return is_double;
}

void InputRouter::route_key(const InputEvent& event) {
  Desktop& d = desktop_;
  const std::uint8_t vk = event.virtual_key;
  const bool down = event.kind == InputEvent::Kind::key_down;
  // Before the modifiers are taken: a modifier's own down event carries its bit.
  const bool was_down = d.key_down(vk);
  update_modifier_state(event.modifiers);
  if (down) {
    if (!was_down) d.key_state_[vk] ^= 0x01;  // toggles (Caps Lock) flip on each press
    d.key_state_[vk] |= 0x80;
  } else {
    d.key_state_[vk] &= ~0x80;
  }
  if (down && !was_down) d.alt_alone_ = vk == VK_MENU;
  const bool alt = event.modifiers.alt || vk == VK_MENU;
  // Alt (without Control: that is AltGr) and F10 make system keys.
  bool system = (alt && !event.modifiers.control) || vk == VK_F10;
  Hwnd target = d.focus_;
  if (!target) {
    target = d.active_;  // with no focus the active window gets system keys
    system = true;
  }
  if (!target || !d.is_enabled(target)) return;
  std::uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  std::uint32_t bits = 1;  // repeat count
  bits |= static_cast<std::uint32_t>(event.scan_code & 0xff) << 16;
  if (event.extended) bits |= KF_EXTENDED_BIT;
  if (alt && !event.modifiers.control) bits |= KF_ALTDOWN_BIT;
  if (!down || was_down) bits |= KF_REPEAT_BIT;
  if (!down) bits |= KF_UP_BIT;
  d.queue_.post(d.make_message(target, message, vk, static_cast<LParam>(bits)));
}

// Text goes with the key down that typed it, for TranslateMessage; text
// with no key (an input method) becomes characters at once.
void InputRouter::route_text(const InputEvent& event) {
  Desktop& d = desktop_;
  if (event.text.empty() || d.queue_.attach_text(event.text)) return;
  const Hwnd target = d.focus_ ? d.focus_ : d.active_;
  if (!target || !d.is_enabled(target)) return;
  for (char c : event.text)
    d.queue_.post(d.make_message(target, WM_CHAR, static_cast<unsigned char>(c), 1));
}

void InputRouter::update_button_state(const InputEvent& event) {
  if (event.kind == InputEvent::Kind::mouse_move) return;
  std::uint8_t& state = desktop_.key_state_[button_key(event.button)];
  if (event.kind == InputEvent::Kind::mouse_down) state |= 0x80;
  else state &= ~0x80;
}

void InputRouter::update_modifier_state(const platform::Modifiers& modifiers) {
  auto set = [&](std::uint8_t vk, bool down) {
    std::uint8_t& s = desktop_.key_state_[vk];
    s = down ? (s | 0x80) : (s & ~0x80);
  };
  set(VK_SHIFT, modifiers.shift);
  set(VK_CONTROL, modifiers.control);
  set(VK_MENU, modifiers.alt);
}

std::uint32_t InputRouter::mouse_key_flags() const {
  const Desktop& d = desktop_;
  std::uint32_t flags = 0;
  if (d.key_down(VK_LBUTTON)) flags |= MK_LBUTTON;
  if (d.key_down(VK_RBUTTON)) flags |= MK_RBUTTON;
  if (d.key_down(VK_MBUTTON)) flags |= MK_MBUTTON;
  if (d.key_down(VK_SHIFT)) flags |= MK_SHIFT;
  if (d.key_down(VK_CONTROL)) flags |= MK_CONTROL;
  return flags;
}

void InputRouter::resize_framebuffer() {
  Desktop& d = desktop_;
  const raster::IntSize size = d.screen_.size();
  if (size.width <= 0 || size.height <= 0 || size == raster::IntSize{d.framebuffer_.width(), d.framebuffer_.height()})
    return;
  d.framebuffer_ = raster::Surface(size.width, size.height, raster::PixelFormat::rgb32);
  Window* root = d.find(d.root_);
  root->rect = root->client = d.framebuffer_.bounds();
  ++d.geometry_epoch_;
  if (d.host_frame_)
    d.set_window_pos(d.host_frame_, {}, 0, 0, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
  d.expose(raster::Region(d.framebuffer_.bounds()));
}

}  // namespace orvane::desktop
