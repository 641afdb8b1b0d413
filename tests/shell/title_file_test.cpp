// The frame's preferences from "PREF" 257 and 258.
#include <gtest/gtest.h>

#include "shell/title_file.h"

namespace orvane::shell {
namespace {

std::string pref(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(TitlePreferences, MissingResourcesGiveTheDefaults) {
  TitlePreferences p = parse_preferences(std::nullopt, std::nullopt, "GAME.RI");
  EXPECT_EQ(p.caption, "GAME.RI");
  EXPECT_EQ(p.flags, 0);
  EXPECT_EQ(p.language, 0);
  EXPECT_EQ(p.client, (raster::IntSize{640, 480}));
}

TEST(TitlePreferences, FlagsLanguageAndSizeAreRead) {
  TitlePreferences p = parse_preferences(pref({9, 9, 0x85, 2, 0x03, 0x20, 0x02, 0x58}), std::string("\x05HelloXYZ"), "GAME.RI");
  EXPECT_EQ(p.flags, 0x85);
  EXPECT_EQ(p.language, 2);
  EXPECT_EQ(p.client, (raster::IntSize{800, 600}));
  EXPECT_EQ(p.caption, "Hello") << "the counted string, not what follows";
}

TEST(TitlePreferences, SixBytesOrFewerKeep640By480) {
  TitlePreferences p = parse_preferences(pref({0, 0, 0x01, 1, 0x03, 0x20}), std::nullopt, "X");
  EXPECT_EQ(p.flags, 0x01);
  EXPECT_EQ(p.language, 1);
  EXPECT_EQ(p.client, (raster::IntSize{640, 480}));
  p = parse_preferences(pref({0, 0}), std::nullopt, "X");
  EXPECT_EQ(p.flags, 0);
  EXPECT_EQ(p.client, (raster::IntSize{640, 480}));
}

TEST(TitlePreferences, ACaptionLongerThanItsBytesStopsAtTheEnd) {
  TitlePreferences p = parse_preferences(std::nullopt, std::string("\x40" "abc"), "X");
  EXPECT_EQ(p.caption, "abc");
}

}  // namespace
}  // namespace orvane::shell
