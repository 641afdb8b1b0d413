// A desktop with its user-interface pieces on a small fake screen: input
// events queued at script times, a virtual clock that waiting moves, a host
// clipboard of its own.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_ui.h"
#include "platform/screen.h"
#include "support/scripted_input.h"

namespace orvane::desktop::testing {

using platform::InputEvent;
using raster::IntPoint;
using raster::IntRect;

class FakeScreen final : public platform::Screen {
 public:
  FakeScreen(platform::VirtualClock& clock, raster::IntSize size) : input_(clock, 10), size_(size) {}

  raster::IntSize size() const override { return size_; }
  raster::IntSize display_size() const override { return {1024, 768}; }
  void present(const raster::Surface&, std::span<const raster::IntRect>) override {}
  std::optional<InputEvent> poll_input() override { return input_.poll(); }
  bool wait_for_input(const raster::Surface&, std::optional<std::uint64_t> deadline) override {
    return input_.wait(deadline, idle_limit_);
  }
  void set_title(std::string_view) override {}
  void set_window_flags(const platform::WindowFlags&) override {}
  void set_cursor(platform::CursorShape shape) override {
    shape_ = shape;
    custom_.reset();
  }
  void set_cursor(const platform::MonochromeCursor& cursor) override { custom_ = cursor; }
  std::string clipboard_text() override { return host_clipboard; }
  void set_clipboard_text(std::string_view text) override { host_clipboard = std::string(text); }

  void wait(std::uint64_t ms) { input_.script_time() += ms; }
  void add(InputEvent e) { input_.add(std::move(e)); }
  void mouse(InputEvent::Kind kind, IntPoint p) {
    InputEvent e;
    e.kind = kind;
    e.position = p;
    add(e);
  }
  void press(IntPoint p) { mouse(InputEvent::Kind::mouse_down, p); }
  void release(IntPoint p) { mouse(InputEvent::Kind::mouse_up, p); }
  void move(IntPoint p) { mouse(InputEvent::Kind::mouse_move, p); }
  void click(IntPoint p) {
    press(p);
    release(p);
    wait(600);  // never a double click
  }
  void key(std::uint8_t vk, bool alt = false, bool shift = false) {
    InputEvent e;
    e.kind = InputEvent::Kind::key_down;
    e.virtual_key = vk;
    e.modifiers.alt = alt;
    e.modifiers.shift = shift;
    add(e);
    e.kind = InputEvent::Kind::key_up;
    add(e);
  }
  void key_down(std::uint8_t vk, bool alt = false) {
    InputEvent e;
    e.kind = InputEvent::Kind::key_down;
    e.virtual_key = vk;
    e.modifiers.alt = alt;
    add(e);
  }
  void key_up(std::uint8_t vk, bool alt = false) {
    InputEvent e;
    e.kind = InputEvent::Kind::key_up;
    e.virtual_key = vk;
    e.modifiers.alt = alt;
    add(e);
  }
  void type(std::string text) {
    for (char c : text) {
      InputEvent e;
      e.kind = InputEvent::Kind::key_down;
      e.virtual_key = static_cast<std::uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      add(e);
      e.kind = InputEvent::Kind::text;
      e.text = std::string(1, c);
      add(e);
      e.kind = InputEvent::Kind::key_up;
      e.text.clear();
      add(e);
    }
  }
  // Timers keep the clock moving up to this time once the script is done.
  void idle_until(std::uint64_t ms) { idle_limit_ = ms; }

  platform::CursorShape shape() const { return shape_; }
  const std::optional<platform::MonochromeCursor>& custom() const { return custom_; }
  std::string host_clipboard;

 private:
  orvane::testing::ScriptedInput input_;
  raster::IntSize size_;
  std::uint64_t idle_limit_ = 0;
  platform::CursorShape shape_ = platform::CursorShape::arrow;
  std::optional<platform::MonochromeCursor> custom_;
};

struct Logged {
  Hwnd hwnd;
  std::uint32_t message;
  WParam wparam;
  LParam lparam;
};

class UiTest : public ::testing::Test {
 protected:
  // First, so that they outlive the desktop: its windows' procedures log
  // and hook until the desktop and its pieces are gone.
  std::vector<Logged> log;
  std::function<std::optional<LResult>(Desktop&, Hwnd, std::uint32_t, WParam, LParam)> hook;
  platform::VirtualClock clock;
  FakeScreen screen{clock, {640, 480}};
  Desktop desktop{screen, clock};
  DesktopUi ui{desktop};
  Hwnd frame;

  void SetUp() override {
    WindowClass cls;
    cls.name = "TestFrame";
    cls.background = raster::Color{128, 128, 128};
    cls.procedure = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      log.push_back({h, m, w, l});
      if (hook)
        if (auto r = hook(d, h, m, w, l)) return *r;
      return d.def_window_proc(h, m, w, l);
    };
    ASSERT_TRUE(desktop.register_class(std::move(cls)));
    CreateParams p;
    p.class_name = "TestFrame";
    p.text = "Frame";
    p.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
    p.x = 0;
    p.y = 0;
    p.width = 640;
    p.height = 480;
    frame = desktop.create_window(p);
    ASSERT_TRUE(frame);
    desktop.set_host_frame(frame);
    desktop.set_active_window(frame);
    desktop.set_focus(frame);
  }

  // Dispatches everything, waiting for scripted input, until the script is
  // done (the desktop then posts WM_QUIT).
  void run() {
    Message m;
    for (int guard = 0; guard < 100000 && desktop.get_message(m); ++guard) {
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  }

  // Dispatches what is waiting, paint included, without waiting for input.
  void settle() {
    Message m;
    for (int guard = 0; guard < 10000 && desktop.peek_message(m, {}, 0, 0, PM_REMOVE); ++guard) {
      if (m.message == WM_QUIT) break;
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  }

  Hwnd child(IntRect r, std::string cls = "TestFrame") {
    CreateParams p;
    p.class_name = std::move(cls);
    p.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    p.x = r.left;
    p.y = r.top;
    p.width = r.width();
    p.height = r.height();
    p.parent = frame;
    return desktop.create_window(p);
  }

  std::vector<Logged> logged(Hwnd h, std::uint32_t message) const {
    std::vector<Logged> out;
    for (const auto& l : log)
      if (l.hwnd == h && l.message == message) out.push_back(l);
    return out;
  }
  int index_of(Hwnd h, std::uint32_t message) const {
    for (int i = 0; i < static_cast<int>(log.size()); ++i)
      if (log[i].hwnd == h && log[i].message == message) return i;
    return -1;
  }
  std::vector<int> commands() const {
    std::vector<int> ids;
    for (const auto& l : logged(frame, WM_COMMAND)) ids.push_back(low_word(l.wparam));
    return ids;
  }
  static IntPoint centre(const IntRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

}  // namespace orvane::desktop::testing
