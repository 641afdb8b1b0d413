// A modal alert over an MDI frame: input outside it changes nothing, the
// documents' captions show inactive while it is active, and afterwards the
// documents activate and take clicks as before.
#include <gtest/gtest.h>

#include "desktop_ui/ui_fixture.h"

namespace orvane::desktop::testing {
namespace {

constexpr raster::Color kActiveCaption{0, 0, 128};
constexpr raster::Color kInactiveCaption{128, 128, 128};

class ModalMdiTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // The frame answers through the frame's default procedure, as an MDI frame does.
    hook = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
      if (h == frame && client) return d.def_frame_proc(h, client, m, w, l);
      return std::nullopt;
    };
    WindowClass document;
    document.name = "TestDocument";
    document.background = raster::colors::white;
    document.procedure = [this](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> LResult {
      log.push_back({h, m, w, l});
      return d.def_mdi_child_proc(h, m, w, l);
    };
    ASSERT_TRUE(desktop.register_class(std::move(document)));
    ClientCreateStruct ccs;
    CreateParams p;
    p.class_name = "MDICLIENT";
    p.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    p.parent = frame;
    p.x = 0, p.y = 0;
    p.width = desktop.client_rect(frame).width();
    p.height = desktop.client_rect(frame).height();
    p.create_params = lparam_of_pointer(&ccs);
    client = desktop.create_window(p);
    ASSERT_TRUE(client);
    left = document_at({10, 10, 210, 160});
    right = document_at({420, 10, 620, 160});
    settle();
    ASSERT_EQ(active(), right);
  }

  Hwnd document_at(IntRect r) {
    MdiCreateStruct mcs;
    mcs.class_name = "TestDocument";
    mcs.title = "Document";
    mcs.x = r.left, mcs.y = r.top, mcs.width = r.width(), mcs.height = r.height();
    return Hwnd{static_cast<std::uint32_t>(desktop.send_message(client, WM_MDICREATE, 0, lparam_of_pointer(&mcs)))};
  }
  Hwnd active() { return Hwnd{static_cast<std::uint32_t>(desktop.send_message(client, WM_MDIGETACTIVE))}; }
  // A pixel of the caption band, clear of the title and the close box.
  raster::Color caption_of(Hwnd document) {
    const IntRect r = desktop.window_rect(document);
    return desktop.framebuffer().color_at(r.right - 40, r.top + 8);
  }
  IntPoint inside(Hwnd document) { return desktop.client_to_screen(document, {20, 20}); }

  Hwnd client, left, right;
};

TEST_F(ModalMdiTest, AClickOutsideTheAlertActivatesNoDocument) {
  Alert box;
  box.text = "Nothing to see";
  box.buttons = {{IDOK, "OK"}};
  Hwnd active_between_clicks;
  std::optional<raster::Color> right_between_clicks;
  // Timer 1 clicks outside the alert (at 10) and then its button (at 610);
  // timer 2 looks in between.
  screen.idle_until(2000);  // timers run while the alert waits
  desktop.set_timer(frame, 1, 1);
  desktop.set_timer(frame, 2, 300);
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
    if (h == frame && m == WM_TIMER && w == 1) {
      d.kill_timer(frame, 1);
      screen.click(inside(left));
      screen.click(centre(d.window_rect(ui.dialogs.dialog_item(ui.dialogs.active_dialog(), IDOK))));
      return 0;
    }
    if (h == frame && m == WM_TIMER && w == 2) {
      d.kill_timer(frame, 2);
      active_between_clicks = d.active_window();
      right_between_clicks = caption_of(right);
      return 0;
    }
    if (h == frame) return d.def_frame_proc(h, client, m, w, l);
    return std::nullopt;
  };
  log.clear();
  EXPECT_EQ(ui.dialogs.alert(frame, box), IDOK);
  settle();
  EXPECT_TRUE(active_between_clicks);
  EXPECT_NE(active_between_clicks, frame);  // the alert stayed active
  EXPECT_EQ(right_between_clicks, kInactiveCaption);
  EXPECT_EQ(active(), right);
  EXPECT_TRUE(logged(left, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(logged(left, WM_MDIACTIVATE).empty());
  EXPECT_EQ(desktop.active_window(), frame);
  EXPECT_EQ(desktop.focus(), right);
  EXPECT_EQ(caption_of(right), kActiveCaption);
  EXPECT_EQ(caption_of(left), kInactiveCaption);

  // The next clicks on the documents activate them and reach them.
  screen.wait(1000);
  screen.click(inside(left));
  run();
  screen.click(inside(right));
  run();
  EXPECT_EQ(active(), right);
  EXPECT_EQ(logged(left, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(logged(left, WM_LBUTTONUP).size(), 1u);
  EXPECT_EQ(logged(left, WM_MDIACTIVATE).size(), 2u);  // activated, then left for the other
  EXPECT_EQ(logged(right, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(caption_of(right), kActiveCaption);
  EXPECT_EQ(caption_of(left), kInactiveCaption);
}

TEST_F(ModalMdiTest, TheActiveDocumentsCaptionIsInactiveWhileTheAlertIsActive) {
  EXPECT_EQ(caption_of(right), kActiveCaption);
  std::optional<raster::Color> during;
  std::optional<raster::Color> alert_caption;
  screen.idle_until(2000);  // timers run while the alert waits
  desktop.set_timer(frame, 1, 1);
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
    if (h == frame && m == WM_TIMER && w == 1) {
      d.kill_timer(frame, 1);
      const Hwnd alert = ui.dialogs.active_dialog();
      EXPECT_EQ(d.active_window(), alert);
      during = caption_of(right);
      const IntRect r = d.window_rect(alert);
      alert_caption = d.framebuffer().color_at(r.right - 40, r.top + 8);
      screen.key(VK_RETURN);
      return 0;
    }
    if (h == frame) return d.def_frame_proc(h, client, m, w, l);
    return std::nullopt;
  };
  Alert box;
  box.caption = "About";
  box.text = "Captions";
  box.buttons = {{IDOK, "OK"}};
  EXPECT_EQ(ui.dialogs.alert(frame, box), IDOK);
  settle();
  ASSERT_TRUE(during && alert_caption);
  EXPECT_EQ(*during, kInactiveCaption);
  EXPECT_EQ(*alert_caption, kActiveCaption);
  // Back to the document when the alert has gone.
  EXPECT_EQ(caption_of(right), kActiveCaption);
  EXPECT_EQ(caption_of(left), kInactiveCaption);
  EXPECT_EQ(desktop.focus(), right);
}

TEST_F(ModalMdiTest, ADocumentActivatedWhileTheFrameIsInactiveShowsInactive) {
  std::optional<raster::Color> left_during;
  screen.idle_until(2000);  // timers run while the alert waits
  desktop.set_timer(frame, 1, 1);
  hook = [&](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) -> std::optional<LResult> {
    if (h == frame && m == WM_TIMER && w == 1) {
      d.kill_timer(frame, 1);
      d.send_message(client, WM_MDIACTIVATE, static_cast<WParam>(left.value));
      settle();
      left_during = caption_of(left);
      screen.key(VK_RETURN);
      return 0;
    }
    if (h == frame) return d.def_frame_proc(h, client, m, w, l);
    return std::nullopt;
  };
  Alert box;
  box.text = "Switch";
  box.buttons = {{IDOK, "OK"}};
  EXPECT_EQ(ui.dialogs.alert(frame, box), IDOK);
  settle();
  ASSERT_TRUE(left_during);
  EXPECT_EQ(*left_during, kInactiveCaption);
  EXPECT_EQ(active(), left);
  EXPECT_EQ(caption_of(left), kActiveCaption);
  EXPECT_EQ(caption_of(right), kInactiveCaption);
}

}  // namespace
}  // namespace orvane::desktop::testing
