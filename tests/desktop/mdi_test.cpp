// The MDI client: creation, activation and its messages, z-order,
// maximised children, destruction; the frame's default procedure.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

using Kind = InputEvent::Kind;

class MdiTest : public DesktopTest {
 protected:
  void SetUp() override {
    register_logging_class("Child", CS_DBLCLKS, raster::colors::white, Default::mdi_child);
    WindowClass frame_class;
    frame_class.name = "FrameWClass";
    frame_class.style = CS_HREDRAW | CS_VREDRAW;
    frame_class.procedure = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      if (m == WM_CREATE) {
        ClientCreateStruct ccs{30000};
        CreateParams p;
        p.class_name = "MDICLIENT";
        p.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        p.parent = h;
        p.id = 30000;
        p.x = 0, p.y = 0, p.width = d.client_rect(h).width(), p.height = d.client_rect(h).height();
        p.create_params = lparam_of_pointer(&ccs);
        client = d.create_window(p);
        return client ? 0 : -1;
      }
      return d.def_frame_proc(h, client, m, w, l);
    };
    ASSERT_TRUE(desktop.register_class(std::move(frame_class)));
    CreateParams p;
    p.class_name = "FrameWClass";
    p.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    p.text = "Frame";
    p.x = 0, p.y = 0, p.width = 640, p.height = 480;
    frame = desktop.create_window(p);
    ASSERT_TRUE(frame);
    desktop.set_host_frame(frame);
    ASSERT_TRUE(client);
    EXPECT_EQ(desktop.client_rect(client), (IntRect{0, 0, 640, 480}));
  }
  Hwnd mdi_create(const std::string& title, IntRect r, std::uint32_t style = WS_VISIBLE) {
    MdiCreateStruct mcs;
    mcs.class_name = "Child";
    mcs.title = title;
    mcs.x = r.left, mcs.y = r.top, mcs.width = r.width(), mcs.height = r.height();
    mcs.style = style;
    return Hwnd{static_cast<std::uint32_t>(desktop.send_message(client, WM_MDICREATE, 0, lparam_of_pointer(&mcs)))};
  }
  Hwnd active() { return Hwnd{static_cast<std::uint32_t>(desktop.send_message(client, WM_MDIGETACTIVE))}; }

  Hwnd frame;
  Hwnd client;
};

TEST_F(MdiTest, TheNewestChildIsActiveOnTopWithIdsFromTheFirst) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {50, 50, 250, 200});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(active(), b);
  EXPECT_EQ(desktop.children(client).front(), b);
  EXPECT_EQ(desktop.id(a), 30000);
  EXPECT_EQ(desktop.id(b), 30001);
  EXPECT_EQ(desktop.focus(), b);
  EXPECT_NE(desktop.style(a) & WS_CAPTION, 0u);
}

TEST_F(MdiTest, TheClientShowsTheWorkspaceColourAroundItsChildren) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  run_until_idle();
  EXPECT_EQ(pixel({400, 400}), (raster::Color{128, 128, 128}));
  EXPECT_EQ(pixel({100, 100}), raster::colors::white);  // the child's client area
  desktop.destroy_window(a);
  run_until_idle();
  EXPECT_EQ(pixel({100, 100}), (raster::Color{128, 128, 128}));
}

TEST_F(MdiTest, ActivationSendsMdiActivateToTheOldAndTheNewChild) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {50, 50, 250, 200});
  log.clear();
  desktop.send_message(client, WM_MDIACTIVATE, static_cast<WParam>(a.value));
  const auto to_b = logged(b, WM_MDIACTIVATE);
  const auto to_a = logged(a, WM_MDIACTIVATE);
  ASSERT_EQ(to_b.size(), 1u);
  ASSERT_EQ(to_a.size(), 1u);
  EXPECT_EQ(to_b[0].wparam, static_cast<WParam>(b.value));  // the one losing activation
  EXPECT_EQ(to_b[0].lparam, static_cast<LParam>(a.value));  // the one gaining it
  EXPECT_EQ(to_a[0].wparam, static_cast<WParam>(b.value));
  EXPECT_EQ(to_a[0].lparam, static_cast<LParam>(a.value));
  EXPECT_LT(index_of(b, WM_MDIACTIVATE), index_of(a, WM_MDIACTIVATE));
  EXPECT_EQ(logged(b, WM_NCACTIVATE)[0].wparam, 0u);
  EXPECT_EQ(logged(a, WM_NCACTIVATE)[0].wparam, 1u);
  EXPECT_EQ(active(), a);
  EXPECT_EQ(desktop.children(client).front(), a);
  EXPECT_EQ(desktop.focus(), a);
}

TEST_F(MdiTest, ClickingAnInactiveChildActivatesIt) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {300, 50, 500, 200});
  run_until_idle();
  log.clear();
  screen.click(desktop.client_to_screen(a, {20, 20}));
  run_until_idle();
  EXPECT_EQ(active(), a);
  EXPECT_TRUE(in_order(messages_to(a), {WM_MOUSEACTIVATE, WM_CHILDACTIVATE, WM_MDIACTIVATE, WM_LBUTTONDOWN}));
  EXPECT_EQ(desktop.children(client).front(), a);
  EXPECT_TRUE(desktop.is_window(b));
}

TEST_F(MdiTest, AMaximisedActiveChildPassesMaximisationOn) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {50, 50, 250, 200});
  desktop.send_message(client, WM_MDIMAXIMIZE, static_cast<WParam>(b.value));
  EXPECT_TRUE(desktop.is_maximised(b));
  // The maximised child's client area fills the MDI client.
  EXPECT_EQ(desktop.client_to_screen(b, {0, 0}), desktop.client_to_screen(client, {0, 0}));
  EXPECT_EQ(desktop.client_rect(b), desktop.client_rect(client));
  int maximised = 0;
  desktop.send_message(client, WM_MDIGETACTIVE, 0, lparam_of_pointer(&maximised));
  EXPECT_EQ(maximised, 1);
  desktop.send_message(client, WM_MDIACTIVATE, static_cast<WParam>(a.value));
  EXPECT_TRUE(desktop.is_maximised(a));
  EXPECT_FALSE(desktop.is_maximised(b));
  EXPECT_EQ(desktop.window_rect_in_parent(b), (IntRect{50, 50, 250, 200}));
  // A child created now is maximised too.
  const Hwnd c = mdi_create("C", {0, 0, 100, 100});
  EXPECT_TRUE(desktop.is_maximised(c));
  desktop.send_message(client, WM_MDIRESTORE, static_cast<WParam>(c.value));
  EXPECT_EQ(desktop.window_rect_in_parent(c), (IntRect{0, 0, 100, 100}));
}

TEST_F(MdiTest, DestroyingTheActiveChildActivatesTheNextAndCloseDestroys) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {50, 50, 250, 200});
  const Hwnd c = mdi_create("C", {90, 90, 290, 240});
  desktop.send_message(client, WM_MDIDESTROY, static_cast<WParam>(c.value));
  EXPECT_FALSE(desktop.is_window(c));
  EXPECT_EQ(active(), b);
  desktop.send_message(b, WM_CLOSE);  // the child default closes through the client
  EXPECT_FALSE(desktop.is_window(b));
  EXPECT_EQ(active(), a);
  desktop.destroy_window(a);
  EXPECT_EQ(active(), Hwnd{});
}

TEST_F(MdiTest, TheFrameResizesItsClientAndTheClientItsMaximisedChild) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  desktop.send_message(client, WM_MDIMAXIMIZE, static_cast<WParam>(a.value));
  desktop.move_window(frame, 0, 0, 400, 300);
  EXPECT_EQ(desktop.client_rect(client), (IntRect{0, 0, 400, 300}));
  EXPECT_EQ(desktop.client_rect(a), (IntRect{0, 0, 400, 300}));
}

TEST_F(MdiTest, HiddenChildrenWaitToBeShownBeforeActivating) {
  desktop.set_style(client, desktop.style(client) | MDIS_ALLCHILDSTYLES);
  const Hwnd a = mdi_create("A", {10, 10, 210, 160}, WS_VISIBLE | WS_CAPTION);
  const Hwnd hidden = mdi_create("H", {20, 20, 120, 120}, 0);
  EXPECT_EQ(active(), a);
  EXPECT_FALSE(desktop.is_visible(hidden));
  desktop.show_window(hidden, SW_SHOW);
  EXPECT_EQ(active(), hidden);
}

TEST_F(MdiTest, ControlF6AndControlF4WorkTheChildrenThroughTheSystemAccelerators) {
  const Hwnd a = mdi_create("A", {10, 10, 210, 160});
  const Hwnd b = mdi_create("B", {50, 50, 250, 200});
  run_until_idle();
  auto pump = [&] {
    Message m;
    while (desktop.peek_message(m, {}, 0, 0, PM_REMOVE)) {
      if (desktop.translate_mdi_sys_accel(client, m)) continue;
      desktop.translate_message(m);
      desktop.dispatch_message(m);
    }
  };
  screen.key(Kind::key_down, VK_F6, {false, true, false});
  screen.key(Kind::key_up, VK_F6, {false, true, false});
  pump();
  EXPECT_EQ(active(), a);
  screen.key(Kind::key_down, VK_F4, {false, true, false});
  pump();
  EXPECT_FALSE(desktop.is_window(a));
  EXPECT_EQ(active(), b);
}

}  // namespace
}  // namespace orvane::desktop::testing
