// Menus in a playing title: `orvane play --headless` on titles the tests
// write, driven by event scripts: the bar clicked and opened from the
// keyboard, accelerators, and the look of an open menu.
#include <gtest/gtest.h>

#include <cstdlib>

#include "menus/menu_fixture.h"
#include "platform/raster/png_io.h"
#include "support/window_title.h"

namespace orvane::testing {
namespace {

// A bar with File (Open..., a separator, Quit) and Edit (Copy greyed,
// Paste checked), shown; the toplevel loop waits for events.
constexpr const char* kTitle = R"(
(define root (make-menu 'root nil ""))
(define bar (make-menu 'bar root ""))
(define file (make-menu 'file bar "&File"))
(define open-item (make-item 'open file "&Open..." 'accelerator '(:menu "O")))
(define line-item (make-item 'line file "" 'separator? t))
(define quit-item (make-item 'quit file "&Quit" 'accelerator '(:menu "Q")))
(define edit (make-menu 'edit bar "&Edit"))
(define copy-item (make-item 'copy edit "&Copy" 'accelerator '(:menu "C")))
(define paste-item (make-item 'paste edit "&Paste" 'checked? t))
(send copy-item disable)
(send bar show)
(define (toplevel-loop) (pump-forever))
)";

// The window test world, then the menu test world with the test's Lisp.
class MenuPlayTest : public ::testing::Test {
 protected:
  RunResult play(const std::string& lisp, const std::string& events) {
    return title.play(menu_world_text() + lisp, events);
  }
  std::string frame_path(const std::string& name) const { return title.dir().file(name); }
  WindowTitle title;
};

TEST_F(MenuPlayTest, ClicksOnTheBarReachTheChosenItem) {
  // File lies at the bar's left end, its second entry below the separator.
  RunResult r = play(kTitle, "wait 100\nclick 15 9\nwait 100\nclick 30 47\nwait 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "file update\nquit select\n");
}

TEST_F(MenuPlayTest, TheKeyboardOpensMenusAndAcceleratorsChooseItems) {
  RunResult r = play(kTitle,
                     "wait 100\nkey alt\nkey right\nkey down\nkey enter\nwait 100\n"  // Copy is greyed
                     "key escape\nkey escape\nkey escape\n"
                     "key alt\nkey down\nkey enter\nwait 100\n"  // Open...
                     "key ctrl+q\nkey ctrl+c\nwait 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "edit update\nfile update\nopen select\nfile update\nquit select\nedit update\n");
}

// Compares with tests/menus/golden/NAME.png (a few pixels of text may
// differ with another FreeType); ORVANE_WRITE_GOLDEN=1 writes it instead.
::testing::AssertionResult matches_golden(const std::string& frame, const std::string& name) {
  const std::string path = std::string(ORVANE_TESTS_DIR) + "/menus/golden/" + name + ".png";
  std::optional<raster::Surface> got = raster::read_png(frame);
  if (!got) return ::testing::AssertionFailure() << "no frame " << frame;
  if (const char* write = std::getenv("ORVANE_WRITE_GOLDEN"); write && *write == '1') {
    raster::write_png(*got, path);
    return ::testing::AssertionSuccess();
  }
  std::optional<raster::Surface> want = raster::read_png(path);
  if (!want) return ::testing::AssertionFailure() << "no golden " << path;
  if (want->width() != got->width() || want->height() != got->height())
    return ::testing::AssertionFailure() << name << ": size differs";
  int differing = 0;
  for (int y = 0; y < got->height(); ++y)
    for (int x = 0; x < got->width(); ++x) {
      raster::Color a = got->color_at(x, y), b = want->color_at(x, y);
      if (std::abs(a.r - b.r) > 64 || std::abs(a.g - b.g) > 64 || std::abs(a.b - b.b) > 64) ++differing;
    }
  if (differing <= 40) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ";
}

TEST_F(MenuPlayTest, AnOpenMenuLooksAsItShould) {
  RunResult r = play(kTitle,
                     "wait 100\nclick 50 9\nwait 100\nmove 60 30\nwait 100\nframe edit.png\nkey escape\n"
                     "key escape\nwait 100\nframe closed.png\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(matches_golden(frame_path("edit.png"), "edit_menu_open"));
  EXPECT_TRUE(matches_golden(frame_path("closed.png"), "bar_closed"));
}

// With a window object: the root window, which takes the keys.
constexpr const char* kWindows = R"(
(obj-test-window (define (set-text-font _name) (say label 'set-text-font _name)))
(set! Fonts '("Arial" "Courier New" "Times New Roman"))
(define root (make-menu 'root nil ""))
(define bar (make-menu 'bar root ""))
(define fonts (make-menu 'fonts bar "Font" 'font? t))
(send fonts add-font-items)
(define tools (make-menu 'tools root "Tools" 'popup? t))
(define hammer (make-item 'hammer tools "Hammer"))
(define saw (make-item 'saw tools "Saw"))
(send bar show)
(define (toplevel-loop)
  (define w (open-window 'w () () 'handles-keys? t))
  (send w mouse-down 5 5)
  (say 'chose (send w popup-select tools nil nil))
  (say 'chose (send w popup-select tools nil nil))
  (pump-forever))
)";

TEST_F(MenuPlayTest, FontEntriesReachTheKeyFocusWindowAndPopupsAnswerTheirChoice) {
  RunResult r = play(kWindows,
                     "wait 100\nframe popup.png\nkey down\nkey down\nkey enter\nwait 100\n"
                     "key escape\nwait 100\n"
                     "key alt\nkey down\nkey down\nkey enter\nwait 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "chose"), (std::vector<std::string>{"chose saw", "chose ()"}));
  EXPECT_EQ(lines_starting(r.out, "w set-text-font"),
            std::vector<std::string>{"w set-text-font Courier New"});
  EXPECT_EQ(lines_starting(r.out, "tools"), (std::vector<std::string>{"tools update", "tools update"}));
}

}  // namespace
}  // namespace orvane::testing
