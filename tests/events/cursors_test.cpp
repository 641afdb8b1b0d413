// The title's cursors: built-in numbers, "CURS" resources kept while the
// same number is asked for, the arrow's reset of the show count, and the
// busy cursor's restore through the re-examine message.
#include <gtest/gtest.h>

#include <map>

#include "platform/screen.h"
#include "shell/cursors.h"

namespace orvane::shell {
namespace {

using platform::CursorShape;

class CursorScreen final : public platform::Screen {
 public:
  raster::IntSize size() const override { return {64, 64}; }
  raster::IntSize display_size() const override { return {64, 64}; }
  void present(const raster::Surface&, std::span<const raster::IntRect>) override {}
  std::optional<platform::InputEvent> poll_input() override { return std::nullopt; }
  bool wait_for_input(const raster::Surface&, std::optional<std::uint64_t>) override { return false; }
  void set_title(std::string_view) override {}
  void set_window_flags(const platform::WindowFlags&) override {}
  void set_cursor(CursorShape s) override {
    shape = s;
    custom.reset();
  }
  void set_cursor(const platform::MonochromeCursor& c) override {
    custom = c;
    ++customs_shown;
  }
  std::string clipboard_text() override { return {}; }
  void set_clipboard_text(std::string_view) override {}

  CursorShape shape = CursorShape::arrow;
  std::optional<platform::MonochromeCursor> custom;
  int customs_shown = 0;
};

// A "CURS" resource whose image's first byte tells it apart, hot spot (row 3, column 5).
std::vector<std::uint8_t> curs(std::uint8_t mark) {
  std::vector<std::uint8_t> bytes(68, 0);
  bytes[0] = mark;
  bytes[32] = 0xFF;
  bytes[65] = 3;
  bytes[67] = 5;
  return bytes;
}

class CursorsTest : public ::testing::Test {
 protected:
  CursorsTest()
      : cursors(
            screen,
            [this](int n) -> std::optional<std::vector<std::uint8_t>> {
              ++loads;
              auto it = resources.find(n);
              if (it == resources.end()) return std::nullopt;
              return it->second;
            },
            [this] { ++restores_posted; }) {}

  CursorScreen screen;
  std::map<int, std::vector<std::uint8_t>> resources{{3, curs(0x33)}, {200, curs(0xC8)}, {7, {1, 2, 3}}};
  int loads = 0;
  int restores_posted = 0;
  ShellCursors cursors;
};

TEST_F(CursorsTest, BuiltInNumbersShowTheirShapes) {
  const std::pair<int, CursorShape> shapes[] = {{1, CursorShape::ibeam},     {2, CursorShape::cross},
                                                {4, CursorShape::wait},      {11, CursorShape::size_we},
                                                {12, CursorShape::size_ns},  {13, CursorShape::size_nwse},
                                                {14, CursorShape::size_nesw}, {0, CursorShape::arrow}};
  for (auto [number, shape] : shapes) {
    cursors.set(number);
    EXPECT_EQ(screen.shape, shape) << number;
    EXPECT_FALSE(screen.custom) << number;
    EXPECT_EQ(cursors.number(), number);
  }
  EXPECT_EQ(loads, 0);
}

TEST_F(CursorsTest, OtherNumbersAreCursResourcesKeptWhileTheSameNumberIsAskedFor) {
  cursors.set(3);
  ASSERT_TRUE(screen.custom);
  EXPECT_EQ(screen.custom->image[0], 0x33);
  EXPECT_EQ(screen.custom->hot_spot, (raster::IntPoint{5, 3}));
  cursors.set(3);
  EXPECT_EQ(loads, 1);  // reused, not read again
  cursors.set(200);
  ASSERT_TRUE(screen.custom);
  EXPECT_EQ(screen.custom->image[0], 0xC8);
  cursors.set(3);
  EXPECT_EQ(loads, 3);  // the first was let go when 200 replaced it
  EXPECT_EQ(cursors.number(), 3);
}

TEST_F(CursorsTest, AMissingOrShortCursResourceShowsTheArrow) {
  cursors.set(2);
  cursors.set(99);
  EXPECT_EQ(screen.shape, CursorShape::arrow);
  EXPECT_FALSE(screen.custom);
  EXPECT_EQ(cursors.number(), kArrowCursor);
  cursors.set(2);
  cursors.set(7);
  EXPECT_EQ(screen.shape, CursorShape::arrow);
  EXPECT_FALSE(screen.custom);
}

TEST_F(CursorsTest, TheArrowMakesTheCursorExactlyVisibleAgain) {
  cursors.show(false);
  cursors.show(false);
  cursors.set(1);
  EXPECT_EQ(screen.shape, CursorShape::hidden);
  cursors.set(kArrowCursor);
  EXPECT_EQ(screen.shape, CursorShape::arrow);
  // Exactly visible: one hide hides it again.
  EXPECT_EQ(cursors.show(false), -1);
  cursors.set(kArrowCursor);
  cursors.show(true);
  cursors.show(true);
  cursors.set(kArrowCursor);
  EXPECT_EQ(cursors.show(false), -1);
}

TEST_F(CursorsTest, TheBusyCursorPostsOneRestoreUntilTheEventLoopTakesIt) {
  EXPECT_TRUE(cursors.restore_pending());
  cursors.show_watch();
  EXPECT_EQ(screen.shape, CursorShape::wait);
  cursors.show_watch();
  EXPECT_EQ(restores_posted, 1);
  cursors.restore();
  EXPECT_EQ(screen.shape, CursorShape::arrow);
  EXPECT_TRUE(cursors.restore_pending());
  cursors.show_watch();
  EXPECT_EQ(restores_posted, 2);
}

}  // namespace
}  // namespace orvane::shell
