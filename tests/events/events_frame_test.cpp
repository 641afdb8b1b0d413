// The frame and the MDI client: closing the title and windows, and the client's
// background (black under start-up flag 0x20 until a window object exists,
// then the page's colour).
#include <gtest/gtest.h>

#include <fstream>

#include "events/event_lines.h"
#include "platform/raster/png_io.h"

namespace orvane::testing {
namespace {

TEST(EventsFrame, TheFramesCloseTellsTheModalWindowFirstAndClosesOnlyWhenDoQuitAnswers) {
  WindowTitle title;
  RunResult r = title.play(
      "(define Quits 0)\n"
      "(define (do-quit) (set! Quits (+ Quits 1)) (say 'do-quit Quits (send W3 object-opened?))\n"
      "  (if (= Quits 1) (void) t))\n"
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W3 (show-window 'w3 Page '(:size (100 80) :position (200 30) :type 7)))\n"
      "  (trace-messages W3 '(appeal destroy))\n"
      "  (send Page set-modal W3)\n"
      "  (say 'ready)\n"
      "  (pump-forever))",
      "wait 50\nclose\nwait 50\nclose\nwait 50\nkey f1\nwait 50\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // No-value keeps the frame; the second answer closes it and the run ends.
  EXPECT_EQ(lines_after(r.out),
            (Lines{"w3 appeal", "w3 hide-event", "w3 destroy", "do-quit 1 ()", "do-quit 2 ()"}));
}

TEST(EventsFrame, AWindowsCloseBoxAsksItsAppealWhichDestroysItUnlessItHidesOnClose) {
  WindowTitle title;
  RunResult r = title.play(
      "(define (toplevel-loop)\n"
      "  (open-page 400 300)\n"
      "  (set! W1 (show-window 'w1 Page '(:size (100 80) :position (20 40) :type 0 :close-box? t)))\n"
      "  (set! W2 (show-window 'w2 Page '(:size (100 80) :position (200 40) :type 0 :close-box? t\n"
      "                                    :hide-on-close? t)))\n"
      "  (trace-messages W1 '(appeal destroy))\n"
      "  (trace-messages W2 '(appeal destroy))\n"
      "  (say 'ready)\n"
      "  (pump-forever))\n"
      "(define (system-key-down _code) (say 'opened (send W1 object-opened?) (send W2 object-opened?)) t)",
      // The close boxes stand at the right of the captions, above the clients' top-right corners.
      "wait 50\nclick 110 29\nwait 100\nclick 290 29\nwait 100\nkey f1\nwait 10\n");
  ASSERT_EQ(r.status, 0) << r.err;
  Lines closing = lines_where(lines_after(r.out), [](const std::string& l) { return !has(l, "expose"); });
  EXPECT_EQ(closing, (Lines{"w1 appeal", "w1 hide-event", "w1 destroy", "w2 appeal", "w2 hide-event", "opened () t"}));
}

class ClientBackground : public ::testing::Test {
 protected:
  // Plays a 320 x 200 title with the start-up flags; F1 opens the root and a
  // red page of 100 x 100. Frames: before.png, after.png.
  RunResult play(std::uint8_t flags) {
    TitleWriter title;
    title.add("PREF", 257, std::string{0, 0, static_cast<char>(flags), 0} + be16(320) + be16(200))
        .load(0, WindowTitle::world())
        .load(1,
              "(define (system-key-down _code)\n"
              "  (set! Root (open-window 'root () ()))\n"
              "  (set! Page (show-window 'page Root (list :size (list 100 100) :color 'red)))\n"
              "  t)\n"
              "(define (toplevel-loop) (pump-forever))");
    EXPECT_TRUE(title.write(dir.file("TITLE.RI")));
    std::ofstream(dir.file("events.txt")) << "wait 50\nframe before.png\nkey f1\nwait 50\nframe after.png\n";
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + dir.file("events.txt") +
                                " --frames " + dir.path() + " " + dir.file("TITLE.RI"),
                            dir.path());
  }
  raster::Color corner(const std::string& frame) {
    std::optional<raster::Surface> s = raster::read_png(dir.file(frame));
    EXPECT_TRUE(s.has_value()) << frame;
    return s ? s->color_at(s->width() - 1, s->height() - 1) : raster::Color{1, 2, 3};
  }
  TempDir dir;
};

TEST_F(ClientBackground, BlackUnderFlag0x20UntilAWindowObjectExistsThenThePagesColour) {
  RunResult r = play(0x20);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(corner("before.png"), (raster::Color{0, 0, 0}));
  EXPECT_EQ(corner("after.png"), (raster::Color{255, 0, 0}));
}

TEST_F(ClientBackground, WithoutTheFlagTheClientIsNotBlackBeforeThePage) {
  RunResult r = play(0);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(corner("before.png"), (raster::Color{0, 0, 0}));
  EXPECT_EQ(corner("after.png"), (raster::Color{255, 0, 0}));
}

}  // namespace
}  // namespace orvane::testing
