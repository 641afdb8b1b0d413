// Windows: the create and destroy sequences, handles, the tree, z-order,
// activation and focus, properties, geometry.
#include "desktop_fixture.h"

namespace orvane::desktop::testing {
namespace {

class WindowsTest : public DesktopTest {
 protected:
  void SetUp() override { register_logging_class("Test", CS_DBLCLKS); }
};

TEST_F(WindowsTest, CreationSendsWin32sSequenceAndShowingActivates) {
  const Hwnd w = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {10, 20, 310, 220}, {}, 0, "Hello");
  ASSERT_TRUE(w);
  const auto seen = messages_to(w);
  ASSERT_GE(seen.size(), 6u);
  EXPECT_EQ((std::vector<std::uint32_t>(seen.begin(), seen.begin() + 6)),
            (std::vector<std::uint32_t>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_TRUE(in_order(seen, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                              WM_SETFOCUS, WM_WINDOWPOSCHANGED}));
  EXPECT_EQ(desktop.active_window(), w);
  EXPECT_EQ(desktop.focus(), w);
  EXPECT_EQ(desktop.window_text(w), "Hello");
  // The client area lies inside the sizing frame and below the caption.
  const IntRect wr = desktop.window_rect(w);
  EXPECT_EQ(wr, (IntRect{10, 20, 310, 220}));
  EXPECT_EQ(desktop.client_rect(w), (IntRect{0, 0, 300 - 8, 200 - 8 - 19}));
  EXPECT_EQ(desktop.client_to_screen(w, {0, 0}), (IntPoint{14, 20 + 4 + 19}));
}

TEST_F(WindowsTest, CreateRefusedByTheProcedureLeavesNoWindow) {
  hook = [](Desktop&, Hwnd, std::uint32_t m, WParam, LParam) -> std::optional<LResult> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  };
  const Hwnd w = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  EXPECT_FALSE(w);
  EXPECT_FALSE(create("NoSuchClass", 0, {0, 0, 10, 10}));
}

TEST_F(WindowsTest, DestroyGoesParentFirstAndNcDestroyChildrenFirst) {
  const Hwnd parent = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200});
  const Hwnd child = create("Test", WS_CHILD | WS_VISIBLE, {5, 5, 50, 50}, parent);
  const Hwnd grandchild = create("Test", WS_CHILD | WS_VISIBLE, {1, 1, 10, 10}, child);
  log.clear();
  EXPECT_TRUE(desktop.destroy_window(parent));
  const int pd = index_of(parent, WM_DESTROY), cd = index_of(child, WM_DESTROY), gd = index_of(grandchild, WM_DESTROY);
  const int pn = index_of(parent, WM_NCDESTROY), cn = index_of(child, WM_NCDESTROY), gn = index_of(grandchild, WM_NCDESTROY);
  ASSERT_GE(pd, 0);
  EXPECT_LT(pd, cd);
  EXPECT_LT(cd, gd);
  EXPECT_LT(gd, gn);
  EXPECT_LT(gn, cn);
  EXPECT_LT(cn, pn);
  EXPECT_LT(gd, pn);
  EXPECT_FALSE(desktop.is_window(parent));
  EXPECT_FALSE(desktop.is_window(child));
  EXPECT_EQ(desktop.active_window(), Hwnd{});
  EXPECT_EQ(desktop.focus(), Hwnd{});
}

TEST_F(WindowsTest, HandlesOfDestroyedWindowsNeverReachTheirSuccessors) {
  const Hwnd a = create("Test", WS_POPUP, {0, 0, 10, 10});
  desktop.destroy_window(a);
  const Hwnd b = create("Test", WS_POPUP, {0, 0, 10, 10});
  EXPECT_EQ(a.index(), b.index());  // the slot is reused ...
  EXPECT_NE(a, b);                  // ... under a new generation
  EXPECT_FALSE(desktop.is_window(a));
  log.clear();
  EXPECT_EQ(desktop.send_message(a, WM_USER), 0);
  EXPECT_FALSE(desktop.post_message(a, WM_USER));
  EXPECT_FALSE(desktop.set_window_text(a, "x"));
  EXPECT_FALSE(desktop.show_window(a, SW_SHOW));
  EXPECT_TRUE(log.empty());
}

TEST_F(WindowsTest, CloseRequestOfTheHostFrameClosesIt) {
  const Hwnd frame = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100}, {}, 0, "Frame");
  desktop.set_host_frame(frame);
  EXPECT_EQ(screen.title, "Frame");
  EXPECT_EQ(desktop.window_rect(frame), (IntRect{0, 0, 640, 480}));
  EXPECT_EQ(desktop.client_rect(frame), (IntRect{0, 0, 640, 480}));  // the host draws its caption
  InputEvent close;
  close.kind = InputEvent::Kind::close_request;
  screen.add(close);
  log.clear();
  run_until_idle();
  EXPECT_TRUE(in_order(messages_to(frame), {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(desktop.is_window(frame));
}

TEST_F(WindowsTest, TheMaximisedHostFrameIsTheFramebuffer) {
  const Hwnd frame = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100}, {}, 0, "Frame");
  desktop.set_host_frame(frame);
  desktop.show_window(frame, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(desktop.is_maximised(frame));
  EXPECT_EQ(desktop.window_rect(frame), (IntRect{0, 0, 640, 480}));
  EXPECT_EQ(desktop.client_rect(frame), (IntRect{0, 0, 640, 480}));
}

TEST_F(WindowsTest, OwnedWindowsStayAboveTheirOwner) {
  const Hwnd owner = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  const Hwnd dialog = create("Test", WS_POPUP | WS_CAPTION | WS_VISIBLE, {10, 10, 60, 60}, owner);
  const Hwnd other = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  EXPECT_EQ(desktop.owner(dialog), owner);
  desktop.set_active_window(owner);
  const auto order = desktop.children(desktop.root());
  EXPECT_EQ(order[0], dialog);
  EXPECT_EQ(order[1], owner);
  EXPECT_EQ(order[2], other);
  // Destroying the owner takes its owned windows with it.
  desktop.destroy_window(owner);
  EXPECT_FALSE(desktop.is_window(dialog));
}

TEST_F(WindowsTest, HostileGeometryIsClampedNotOverflowed) {
  const Hwnd w = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 10, 10});
  desktop.set_window_pos(w, {}, 2147483000, -2147483000, 2147483647, -5, SWP_NOZORDER);
  const IntRect r = desktop.window_rect_in_parent(w);
  EXPECT_EQ(r.left, 32767);
  EXPECT_EQ(r.top, -32767);
  EXPECT_EQ(r.width(), 32767);
  EXPECT_EQ(r.height(), 0);
  EXPECT_TRUE(desktop.client_rect(w).empty());
  run_until_idle();
  EXPECT_TRUE(desktop.visible_region(w, true).empty());
}

TEST_F(WindowsTest, ActivationMovesBetweenTopLevelWindowsWithTheirMessages) {
  const Hwnd a = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  const Hwnd b = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 50, 150, 150});
  EXPECT_EQ(desktop.active_window(), b);
  EXPECT_EQ(desktop.children(desktop.root()).front(), b);
  log.clear();
  desktop.set_active_window(a);
  EXPECT_TRUE(in_order(messages_to(b), {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}));
  EXPECT_TRUE(in_order(messages_to(a), {WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(logged(b, WM_ACTIVATE)[0].wparam & 0xffff, static_cast<WParam>(WA_INACTIVE));
  EXPECT_EQ(logged(a, WM_ACTIVATE)[0].wparam & 0xffff, static_cast<WParam>(WA_ACTIVE));
  EXPECT_EQ(desktop.children(desktop.root()).front(), a);
  EXPECT_EQ(desktop.focus(), a);
  // Destroying the active window activates the next one.
  desktop.destroy_window(a);
  EXPECT_EQ(desktop.active_window(), b);
}

TEST_F(WindowsTest, ZOrderAmongSiblingsFollowsInsertAfterAndTopmost) {
  const Hwnd parent = create("Test", WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  const Hwnd a = create("Test", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, parent);
  const Hwnd b = create("Test", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, parent);
  const Hwnd c = create("Test", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, parent);
  EXPECT_EQ(desktop.children(parent), (std::vector<Hwnd>{c, b, a}));
  desktop.set_window_pos(c, Desktop::kBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(desktop.children(parent), (std::vector<Hwnd>{b, a, c}));
  desktop.set_window_pos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(desktop.children(parent), (std::vector<Hwnd>{a, b, c}));
  desktop.set_window_pos(c, Desktop::kTopmost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  desktop.set_window_pos(a, Desktop::kTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(desktop.children(parent), (std::vector<Hwnd>{c, a, b}));  // topmost stays above
  EXPECT_EQ(desktop.get_window(a, GW_HWNDNEXT), b);
  EXPECT_EQ(desktop.get_window(a, GW_HWNDPREV), c);
  EXPECT_EQ(desktop.get_window(parent, GW_CHILD), c);
}

TEST_F(WindowsTest, PropertiesTextAndCoordinateMapping) {
  const Hwnd parent = create("Test", WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  const Hwnd child = create("Test", WS_CHILD | WS_VISIBLE | WS_BORDER, {10, 20, 60, 70}, parent);
  EXPECT_TRUE(desktop.set_prop(child, "OrvaneObjectHI", 42));
  EXPECT_EQ(desktop.get_prop(child, "orvaneobjecthi"), 42);
  EXPECT_EQ(desktop.remove_prop(child, "OrvaneObjectHI"), 42);
  EXPECT_FALSE(desktop.get_prop(child, "OrvaneObjectHI"));
  EXPECT_TRUE(desktop.set_window_text(child, "abc"));
  EXPECT_EQ(desktop.window_text(child), "abc");
  EXPECT_EQ(desktop.window_rect(child), (IntRect{110, 120, 160, 170}));
  EXPECT_EQ(desktop.client_to_screen(child, {0, 0}), (IntPoint{111, 121}));
  EXPECT_EQ(desktop.map_point(child, parent, {0, 0}), (IntPoint{11, 21}));
  EXPECT_EQ(desktop.window_from_point({115, 125}), child);
  EXPECT_EQ(desktop.window_from_point({105, 105}), parent);
  EXPECT_EQ(desktop.window_from_point({5, 5}), desktop.root());
  desktop.enable_window(child, false);
  EXPECT_EQ(desktop.window_from_point({115, 125}), parent);
  log.clear();
  desktop.move_window(child, 0, 0, 30, 30);
  EXPECT_TRUE(in_order(messages_to(child), {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  EXPECT_EQ(desktop.client_rect(child), (IntRect{0, 0, 28, 28}));
}

TEST_F(WindowsTest, HidingTheFocusedChildMovesFocusToItsParent) {
  const Hwnd parent = create("Test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200});
  const Hwnd child = create("Test", WS_CHILD | WS_VISIBLE, {5, 5, 50, 50}, parent);
  desktop.set_focus(child);
  EXPECT_EQ(desktop.focus(), child);
  desktop.show_window(child, SW_HIDE);
  EXPECT_EQ(desktop.focus(), parent);
  EXPECT_FALSE(desktop.is_visible(child));
}

}  // namespace
}  // namespace orvane::desktop::testing
