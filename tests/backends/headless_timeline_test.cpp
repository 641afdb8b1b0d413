#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../platform/platform_support.h"
#include "platform/backends/backend_host.h"
#include "platform/backends/headless_screen.h"
#include "platform/raster/png_io.h"
#include "toy_scene.h"

namespace orvane::platform::backends {
namespace {

using Kind = InputEvent::Kind;
using orvane::testing::TempTree;

EventScript script_of(std::string_view text) {
  ScriptParse parsed = parse_event_script(text, "test.txt");
  EXPECT_TRUE(parsed.ok()) << (parsed.errors.empty() ? "" : parsed.errors.front());
  return parsed.script;
}

struct Headless {
  explicit Headless(std::string_view script, std::string frames = ".")
      : screen(clock, script_of(script), HeadlessOptions{{64, 48}, frames, [this](const std::string& t) {
                                                           reports.push_back(t);
                                                         }}) {}
  std::vector<Kind> drain() {
    std::vector<Kind> out;
    while (auto e = screen.poll_input()) out.push_back(e->kind);
    return out;
  }
  HeadlessClock clock;
  std::vector<std::string> reports;
  HeadlessScreen screen;
  raster::Surface framebuffer{64, 48, raster::PixelFormat::rgb32};
};

TEST(HeadlessClock, StartsAtZeroAndAnIdleReadMovesOneStep) {
  HeadlessClock clock;
  EXPECT_EQ(clock.milliseconds(), 0u);
  EXPECT_EQ(clock.milliseconds(), HeadlessClock::kIdleStep);
  EXPECT_EQ(clock.milliseconds(), 2 * HeadlessClock::kIdleStep);
  clock.jump_to(100);
  EXPECT_EQ(clock.milliseconds(), 100u);
  clock.wait_until(250);
  EXPECT_EQ(clock.now(), 250u);
  clock.jump_to(10);  // never back
  EXPECT_EQ(clock.now(), 250u);
  EXPECT_EQ(clock.unix_time(), HeadlessClock::kStartUnixTime);
}

TEST(HeadlessClock, ABusyWaitOnTheClockEnds) {
  HeadlessClock clock;
  std::uint64_t start = clock.milliseconds();
  int reads = 0;
  while (clock.milliseconds() < start + 1000) ++reads;
  EXPECT_LT(reads, 1000);
}

TEST(HeadlessTimeline, InputIsDeliveredOnceTheClockReachesItsTime) {
  Headless h("move 1 1\nwait 100\nclick 5 5\n");
  EXPECT_EQ(h.drain(), (std::vector<Kind>{Kind::mouse_move}));
  h.clock.jump_to(99);
  EXPECT_TRUE(h.drain().empty());
  h.clock.jump_to(100);
  EXPECT_EQ(h.drain(), (std::vector<Kind>{Kind::mouse_move, Kind::mouse_down, Kind::mouse_up}));
}

TEST(HeadlessTimeline, IdleJumpsToTheNextCommandOrTheDeadlineWhicheverIsFirst) {
  Headless h("wait 100\nmove 2 2\nwait 100\nmove 3 3\n");
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, 40));
  EXPECT_EQ(h.clock.now(), 40u);
  EXPECT_TRUE(h.drain().empty());
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, std::nullopt));
  EXPECT_EQ(h.clock.now(), 100u);
  EXPECT_EQ(h.drain().size(), 1u);
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, 500));
  EXPECT_EQ(h.clock.now(), 200u);
  // A deadline already passed changes nothing.
  Headless due("wait 100\nmove 2 2\n");
  due.clock.jump_to(30);
  EXPECT_TRUE(due.screen.wait_for_input(due.framebuffer, 20));
  EXPECT_EQ(due.clock.now(), 30u);
}

TEST(HeadlessTimeline, TheEndOfTheScriptEndsTheRunAfterItsLastWait) {
  Headless h("move 1 1\nwait 1000\n");
  EXPECT_EQ(h.drain().size(), 1u);
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, 300));  // a timer runs meanwhile
  EXPECT_EQ(h.clock.now(), 300u);
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, 1300));
  EXPECT_EQ(h.clock.now(), 1000u);
  EXPECT_FALSE(h.screen.wait_for_input(h.framebuffer, 1300));
  Headless no_timer("move 1 1\nwait 1000\n");
  no_timer.drain();
  EXPECT_FALSE(no_timer.screen.wait_for_input(no_timer.framebuffer, std::nullopt));
  EXPECT_TRUE(no_timer.screen.script_exhausted());
  Headless empty("");
  EXPECT_FALSE(empty.screen.wait_for_input(empty.framebuffer, 5));
}

TEST(HeadlessTimeline, AFrameIsTakenAtIdleAndHoldsBackTheInputAfterIt) {
  TempTree frames;
  Headless h("click 5 5\nframe first.png\nkey x\nwait 10\nframe sub/second.png\n", frames.root());
  EXPECT_EQ(h.drain(), (std::vector<Kind>{Kind::mouse_move, Kind::mouse_down, Kind::mouse_up}));
  h.framebuffer.set_pixel(5, 5, 0x123456);  // the click's paint
  EXPECT_FALSE(std::filesystem::exists(frames.path("first.png")));
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, std::nullopt));
  auto first = raster::read_png(frames.path("first.png"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->pixel(5, 5), 0x123456u);
  EXPECT_EQ(h.drain(), (std::vector<Kind>{Kind::key_down, Kind::text, Kind::key_up}));
  h.framebuffer.set_pixel(6, 6, 0xABCDEF);
  // The second frame lies 10 ms ahead: the clock jumps there and takes it.
  EXPECT_FALSE(h.screen.wait_for_input(h.framebuffer, std::nullopt));
  EXPECT_EQ(h.clock.now(), 10u);
  auto second = raster::read_png(frames.path("sub/second.png"));
  ASSERT_TRUE(second);
  EXPECT_EQ(second->pixel(6, 6), 0xABCDEFu);
  EXPECT_EQ(h.screen.frames_written().size(), 2u);
}

TEST(HeadlessTimeline, AFrameThatCannotBeWrittenIsReportedAndTheRunGoesOn) {
  TempTree frames;
  frames.file("blocked", "a file, not a directory");
  Headless h("frame blocked/x.png\nmove 1 1\n", frames.root());
  EXPECT_TRUE(h.screen.wait_for_input(h.framebuffer, std::nullopt));
  EXPECT_EQ(h.screen.frames_failed(), 1);
  ASSERT_EQ(h.reports.size(), 1u);
  EXPECT_NE(h.reports[0].find("line 1: cannot write frame"), std::string::npos) << h.reports[0];
  EXPECT_EQ(h.drain().size(), 1u);
}

TEST(HeadlessTimeline, TheToySceneRunsAScriptToItsQuit) {
  Headless h("click 10 10\ntype hi\nwait 700\nquit\nmove 1 1\n");
  orvane::testing::ToyScene scene({64, 48}, &h.clock);
  EXPECT_EQ(scene.run(h.screen), "quit");
  EXPECT_GE(h.clock.now(), 700u);
  // The blinking mark ran on its deadlines while the script waited.
  ASSERT_GE(scene.blinks().size(), 2u);
  EXPECT_EQ(scene.blinks()[0], 0u);
  EXPECT_GE(scene.blinks()[1], 500u);
  EXPECT_LT(scene.blinks()[1], 510u);
}

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(HeadlessTimeline, TwoRunsOfOneScriptWriteTheSameFramesByteForByte) {
  const char* script =
      "click 10 10\nframe a.png\ndrag 5 30 60 40\nkey shift+q\ntype x\nwait 1200\nframe b.png\n"
      "double-click 30 20\nwait 333\nframe c.png\n";
  std::vector<std::string> runs[2];
  for (auto& run : runs) {
    TempTree frames;
    Headless h(script, frames.root());
    orvane::testing::ToyScene scene({64, 48}, &h.clock);
    EXPECT_EQ(scene.run(h.screen), "end");
    for (const char* name : {"a.png", "b.png", "c.png"}) run.push_back(file_bytes(frames.path(name)));
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(runs[0][i].empty());
    EXPECT_EQ(runs[0][i], runs[1][i]) << "frame " << i;
  }
  EXPECT_NE(runs[0][0], runs[0][1]);
}

TEST(BackendHost, TerminalAndErrorLinesGoToTheirStreamsInOrder) {
  Headless h("");
  std::istringstream in("typed\n");
  std::ostringstream out, errors;
  Console console(in, out);
  BackendHost host(h.clock, h.screen, console, errors, false);
  host.write_terminal("caf\xE9\rline two");
  host.write_error_line("bad \x93thing\x94");
  EXPECT_EQ(out.str(), "caf\xC3\xA9\nline two");
  EXPECT_EQ(errors.str(), "bad \xE2\x80\x9Cthing\xE2\x80\x9D\n");
  EXPECT_EQ(host.read_terminal(), -1);
  EXPECT_EQ(&host.clock(), &h.clock);
  EXPECT_EQ(host.screen(), &h.screen);
  host.show_busy_cursor();
  EXPECT_EQ(h.screen.cursor_shape(), CursorShape::wait);
  host.restore_cursor();
  EXPECT_EQ(h.screen.cursor_shape(), CursorShape::arrow);
  EXPECT_EQ(host.out_of_memory_alert(), 1);
  EXPECT_EQ(h.screen.alerts().size(), 1u);
  int pumped = 0;
  host.set_event_pump([&] { ++pumped; });
  host.poll_events();
  EXPECT_EQ(pumped, 1);
  HostScope scope(host);
  EXPECT_EQ(&platform::host(), &host);
}

}  // namespace
}  // namespace orvane::platform::backends
