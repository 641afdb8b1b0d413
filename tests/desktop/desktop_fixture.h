// A desktop on a fake screen: input events are queued with the time they
// happen, the clock is virtual and waiting moves it, presents are recorded.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop/desktop.h"
#include "platform/screen.h"
#include "support/scripted_input.h"

namespace orvane::desktop::testing {

using platform::InputEvent;
using raster::IntPoint;
using raster::IntRect;

class FakeScreen final : public platform::Screen {
 public:
  FakeScreen(platform::VirtualClock& clock, raster::IntSize size) : input_(clock), size_(size) {}

  raster::IntSize size() const override { return size_; }
  void set_size(raster::IntSize size) { size_ = size; }
  raster::IntSize display_size() const override { return {1024, 768}; }
  void present(const raster::Surface&, std::span<const raster::IntRect> dirty) override {
    ++presents;
    for (const auto& r : dirty) presented.push_back(r);
  }
  std::optional<InputEvent> poll_input() override { return input_.poll(); }
  bool wait_for_input(const raster::Surface&, std::optional<std::uint64_t> deadline) override {
    ++waits;
    return input_.wait(deadline);
  }
  void set_title(std::string_view text) override { title = std::string(text); }
  void set_window_flags(const platform::WindowFlags&) override {}
  void set_cursor(platform::CursorShape shape) override { cursor = shape; }
  void set_cursor(const platform::MonochromeCursor&) override {}
  std::string clipboard_text() override { return {}; }
  void set_clipboard_text(std::string_view) override {}

  // Queues an event at the current script time.
  void add(InputEvent e) { input_.add(std::move(e)); }
  void wait(std::uint64_t ms) {
    input_.script_time() = std::max(input_.script_time(), input_.clock().milliseconds()) + ms;
  }
  void mouse(InputEvent::Kind kind, IntPoint p, platform::MouseButton b = platform::MouseButton::left) {
    InputEvent e;
    e.kind = kind;
    e.position = p;
    e.button = b;
    add(e);
  }
  void click(IntPoint p) {
    mouse(InputEvent::Kind::mouse_down, p);
    mouse(InputEvent::Kind::mouse_up, p);
  }
  void key(InputEvent::Kind kind, std::uint8_t vk, platform::Modifiers mods = {}, bool extended = false) {
    InputEvent e;
    e.kind = kind;
    e.virtual_key = vk;
    e.modifiers = mods;
    e.extended = extended;
    add(e);
  }
  void text(std::string t) {
    InputEvent e;
    e.kind = InputEvent::Kind::text;
    e.text = std::move(t);
    add(e);
  }

  int presents = 0;
  int waits = 0;
  std::vector<raster::IntRect> presented;
  std::string title;
  platform::CursorShape cursor = platform::CursorShape::arrow;

 private:
  orvane::testing::ScriptedInput input_;
  raster::IntSize size_;
};

struct Logged {
  Hwnd hwnd;
  std::uint32_t message;
  WParam wparam;
  LParam lparam;
};

class DesktopTest : public ::testing::Test {
 protected:
  platform::VirtualClock clock;
  FakeScreen screen{clock, {640, 480}};
  Desktop desktop{screen, clock};
  std::vector<Logged> log;
  // Per-window extra handling, run before the default procedure; answers
  // a result to stop there.
  std::function<std::optional<LResult>(Desktop&, Hwnd, std::uint32_t, WParam, LParam)> hook;

  enum class Default { plain, mdi_child };

  void register_logging_class(const std::string& name, std::uint32_t class_style = 0,
                              std::optional<raster::Color> background = raster::colors::white,
                              Default def = Default::plain) {
    WindowClass cls;
    cls.name = name;
    cls.style = class_style;
    cls.background = background;
    cls.procedure = [this, def](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      log.push_back({h, m, w, l});
      if (hook)
        if (auto r = hook(d, h, m, w, l)) return *r;
      return def == Default::mdi_child ? d.def_mdi_child_proc(h, m, w, l) : d.def_window_proc(h, m, w, l);
    };
    ASSERT_TRUE(desktop.register_class(std::move(cls)));
  }

  Hwnd create(const std::string& cls, std::uint32_t style, IntRect r, Hwnd parent = {},
              std::uint32_t ex_style = 0, std::string text = {}) {
    CreateParams p;
    p.class_name = cls;
    p.style = style;
    p.ex_style = ex_style;
    p.x = r.left;
    p.y = r.top;
    p.width = r.width();
    p.height = r.height();
    p.parent = parent;
    p.text = std::move(text);
    return desktop.create_window(p);
  }

  // Dispatches everything waiting, paints included, without waiting for input.
  void run_until_idle() {
    Message m;
    for (int guard = 0; guard < 10000 && desktop.peek_message(m, {}, 0, 0, PM_REMOVE); ++guard) {
      if (m.message == WM_QUIT) break;
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  }

  std::vector<std::uint32_t> messages_to(Hwnd h) const {
    std::vector<std::uint32_t> out;
    for (const auto& l : log)
      if (l.hwnd == h) out.push_back(l.message);
    return out;
  }
  std::vector<Logged> logged(Hwnd h, std::uint32_t message) const {
    std::vector<Logged> out;
    for (const auto& l : log)
      if (l.hwnd == h && l.message == message) out.push_back(l);
    return out;
  }
  std::size_t count(Hwnd h, std::uint32_t message) const { return logged(h, message).size(); }
  // The index of the first logged (h, message) after `from`, or -1.
  int index_of(Hwnd h, std::uint32_t message, int from = 0) const {
    for (int i = from; i < static_cast<int>(log.size()); ++i)
      if (log[i].hwnd == h && log[i].message == message) return i;
    return -1;
  }
  raster::Color pixel(IntPoint p) { return desktop.framebuffer().color_at(p.x, p.y); }
};

// True when `want` appears in `seen` in this order (not necessarily adjacent).
inline bool in_order(const std::vector<std::uint32_t>& seen, const std::vector<std::uint32_t>& want) {
  std::size_t i = 0;
  for (std::uint32_t m : seen)
    if (i < want.size() && m == want[i]) ++i;
  return i == want.size();
}

}  // namespace orvane::desktop::testing
