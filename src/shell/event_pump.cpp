#include "shell/event_pump.h"

#include <optional>

#include "platform/desktop/desktop.h"
#include "shell/event_masks.h"
#include "shell/guarded_calls.h"
#include "shell/key_codes.h"
#include "shell/title_shell.h"
#include "ui/menu_dispatch.h"
#include "ui/window_layer.h"

namespace orvane::shell {

namespace {

using namespace desktop;

void dispatch_one(Desktop& d, Hwnd mdi_client, const Message& m) {
  if (m.message == WM_QUIT) throw QuitRequest{static_cast<int>(m.wparam)};
  if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && keyboard_takes(d, m)) {
    carry_on_after_dispatch();
    return;
  }
  // The menus' accelerators come after the title's system keys.
  if (m.message == WM_KEYDOWN &&
      ui::translate_menu_accelerator(static_cast<int>(m.wparam), d.key_down(VK_CONTROL), d.key_down(VK_SHIFT),
                                     d.key_down(VK_MENU))) {
    carry_on_after_dispatch();
    return;
  }
  if (!mdi_client || !d.translate_mdi_sys_accel(mdi_client, m)) {
    d.translate_message(m);
    d.dispatch_message(m);
  }
  carry_on_after_dispatch();
}

// Mouse moves belong to no class of the masks. The desktop routes the next
// input only once the input before it has been taken, so a pass with a mask
// takes the waiting moves out of the way, keeping the last to put back.
bool take(Desktop& d, const std::vector<MessageRange>& ranges, Message& m, std::optional<Message>& held_move) {
  for (;;) {
    for (const MessageRange& r : ranges)
      if (d.peek_message(m, {}, r.first, r.last, PM_REMOVE)) return true;
    if (ranges.front() == MessageRange{0, 0}) return false;
    Message move;
    if (!d.peek_message(move, {}, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) return false;
    held_move = move;
  }
}

}  // namespace

void give_movies_idle_time() {}

bool keyboard_takes(Desktop& d, const Message& message) {
  int code = key_code(static_cast<std::uint8_t>(message.wparam), (message.lparam & KF_EXTENDED_BIT) != 0);
  if (!offers_system_key(code, d.key_down(VK_CONTROL))) return false;
  return is_true(guarded_call("system-key-down", {make_fixnum(code)}));
}

void process_events(Desktop& d, Hwnd mdi_client, int mask) {
  EventFlagRaised raised;
  const std::vector<MessageRange> ranges = pump_ranges(mask);
  // A paint message stays until its window is validated: one that comes
  // straight back (its handler failed before validating) is validated, so a
  // pass always ends.
  Hwnd just_painted;
  Message m;
  std::optional<Message> held_move;
  while (take(d, ranges, m, held_move)) {
    bool paint = m.message == WM_PAINT;
    if (paint && m.hwnd == just_painted) {
      d.validate_rect(m.hwnd, nullptr);
      just_painted = {};
      continue;
    }
    just_painted = paint ? m.hwnd : Hwnd{};
    dispatch_one(d, mdi_client, m);
  }
  if (held_move && d.is_window(held_move->hwnd))
    d.post_message(held_move->hwnd, WM_MOUSEMOVE, held_move->wparam, held_move->lparam);
  give_movies_idle_time();
}

}  // namespace orvane::shell
