// Window objects in process: a run-time, a desktop on a fake screen with a
// frame and its MDI client, the window layer attached to them, and the test
// world (tests/support/window_world.lsp) loaded. Lisp text runs with
// `lisp(...)`, which answers what it printed; the desktop can be examined
// directly (styles, z-order) where a title could not show it.
#pragma once

#include <algorithm>
#include <string>

#include "desktop/desktop_fixture.h"
#include "platform/desktop/mdi_client.h"
#include "reader/reader.h"
#include "support/eval_helpers.h"
#include "support/window_title.h"
#include "ui/window_layer.h"
#include "ui/window_peer.h"

namespace orvane::testing {

class WindowLayerTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    using namespace desktop;
    desktop_ = std::make_unique<Desktop>(screen_, clock_);
    WindowClass frame_class;
    frame_class.name = "FrameWClass";
    frame_class.procedure = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      return d.def_frame_proc(h, client_, m, w, l);
    };
    ASSERT_TRUE(desktop_->register_class(std::move(frame_class)));
    CreateParams frame;
    frame.class_name = "FrameWClass";
    frame.style = WS_CLIPCHILDREN | WS_VISIBLE;
    frame.x = frame.y = 0;
    frame.width = 640;
    frame.height = 480;
    frame_ = desktop_->create_window(frame);
    ClientCreateStruct ccs{30000};
    CreateParams client;
    client.class_name = "MDICLIENT";
    client.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    client.parent = frame_;
    client.id = 30000;
    client.x = client.y = 0;
    client.width = desktop_->client_rect(frame_).width();
    client.height = desktop_->client_rect(frame_).height();
    client.create_params = lparam_of_pointer(&ccs);
    client_ = desktop_->create_window(client);
    ASSERT_TRUE(client_);
    ui::attach_window_layer(*desktop_, frame_, client_);
    ui::set_object_procedure([this](ui::WindowPeer& peer, Hwnd h, std::uint32_t m, WParam w, LParam l) {
      return dispatch(peer, h, m, w, l);
    });
    test_host().capture_terminal = true;
    ASSERT_EQ(lisp(WindowTitle::world()), "");
  }

  void TearDown() override {
    ui::set_object_procedure(nullptr);
    ui::detach_window_layer();
    EvalTest::TearDown();
    desktop_.reset();
  }

  // Evaluates every form of the text; answers what it printed (lines
  // ending in newlines). A form that
  // does not complete fails the test.
  std::string lisp(const std::string& text) {
    std::string& terminal = test_host().terminal;
    terminal.clear();
    TextSource source(text);
    DatumReader reader(source);
    while (std::optional<Value> form = reader.next()) {
      TopLevelResult r = eval_toplevel(*form);
      EXPECT_TRUE(r.completed) << "in: " << text << "\nerror: " << last_alert() << "\nprinted: " << terminal
                               << "\nerror lines: " << error_lines();
      if (!r.completed) break;
    }
    // The terminal ends its lines as the desktop does.
    std::string printed = terminal;
    std::replace(printed.begin(), printed.end(), '\r', '\n');
    return printed;
  }

  // The messages that reached window objects' desktop windows, in order.
  struct Received {
    desktop::Hwnd hwnd;
    std::uint32_t message;
  };
  std::vector<Received> received;
  int count_received(desktop::Hwnd h, std::uint32_t message) const {
    int n = 0;
    for (const Received& r : received) n += r.hwnd == h && r.message == message;
    return n;
  }

  std::string error_lines() {
    std::string all;
    for (const std::string& line : test_host().error_lines) all += line + "\n";
    return all;
  }

  // The peer of the window object bound to the global `name`.
  ui::WindowPeer& peer(const std::string& name) { return ui::window_peer(symbol_global(intern(name))); }

  desktop::Desktop& desk() { return *desktop_; }
  desktop::Hwnd client() const { return client_; }

 private:
  // What the event dispatcher does with a close and a destroy, the rest
  // left to the window layer's default handling.
  desktop::LResult dispatch(ui::WindowPeer& peer, desktop::Hwnd h, std::uint32_t m, desktop::WParam w,
                            desktop::LParam l) {
    received.push_back({h, m});
    if (m == desktop::WM_CLOSE) {
      if (is_true(ui::send_to(peer, "appeal"))) desktop_->destroy_window(h);
      return 0;
    }
    if (m == desktop::WM_DESTROY && !peer.is_page()) {
      ui::send_to(peer, "destroy");
      return 0;
    }
    return ui::default_window_procedure(peer, h, m, w, l);
  }

  platform::VirtualClock clock_;
  desktop::testing::FakeScreen screen_{clock_, {640, 480}};
  std::unique_ptr<desktop::Desktop> desktop_;
  desktop::Hwnd frame_, client_;
};

}  // namespace orvane::testing
