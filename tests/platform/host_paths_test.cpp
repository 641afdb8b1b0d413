#include "platform/host_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_io.h"
#include "platform_support.h"

namespace orvane::platform {
namespace {

using orvane::testing::ScopedEnv;
using orvane::testing::TempTree;

class HostPathTest : public ::testing::Test {
 protected:
  HostPathTest() { drives.roots['C'] = tree.root(); }

  std::string host(std::string_view windows_path) {
    std::string out;
    int err = to_host_path(windows_path, drives, out);
    EXPECT_EQ(err, sys_error::none) << windows_path;
    return out;
  }

  TempTree tree;
  DriveMap drives;
};

// --- Windows paths to host paths -----------------------------------------------

TEST_F(HostPathTest, ResolvesEveryComponentIgnoringCase) {
  tree.file("Titles/Data/Scores.db");
  EXPECT_EQ(host("C:\\TITLES\\DATA\\SCORES.DB"), tree.path("Titles/Data/Scores.db"));
  EXPECT_EQ(host("c:\\titles\\data\\scores.db"), tree.path("Titles/Data/Scores.db"));
  EXPECT_EQ(host("C:/titles/DATA/scores.DB"), tree.path("Titles/Data/Scores.db"));
}

TEST_F(HostPathTest, AnExactNameWinsAndCaseTwinsResolveToTheFirstInByteOrder) {
  tree.file("readme.txt", "lower");
  tree.file("README.TXT", "upper");
  tree.file("ReadMe.Txt", "mixed");
  EXPECT_EQ(host("C:\\readme.txt"), tree.path("readme.txt"));
  EXPECT_EQ(host("C:\\ReadMe.Txt"), tree.path("ReadMe.Txt"));
  EXPECT_EQ(host("C:\\README.TXT"), tree.path("README.TXT"));
  EXPECT_EQ(host("C:\\rEADME.TXT"), tree.path("README.TXT"));
}

TEST_F(HostPathTest, MissingComponentsAreKeptAsGiven) {
  tree.directory("Titles");
  EXPECT_EQ(host("C:\\TITLES\\New Dir\\FILE.TXT"), tree.path("Titles/New Dir/FILE.TXT"));
  EXPECT_EQ(host("NoSuchDirHere\\Sub\\X.TXT"), "NoSuchDirHere/Sub/X.TXT");
}

TEST_F(HostPathTest, DriveRootsSeparatorsAndDots) {
  tree.file("Titles/Data/Scores.db");
  EXPECT_EQ(host("C:"), tree.root());
  EXPECT_EQ(host("C:\\"), tree.root());
  EXPECT_EQ(host("C:titles"), tree.path("Titles"));
  EXPECT_EQ(host("C:\\\\titles//data\\\\"), tree.path("Titles/Data"));
  EXPECT_EQ(host("C:\\titles\\.\\..\\TITLES\\data"), tree.path("Titles/Data"));
  EXPECT_EQ(host("C:\\..\\..\\titles"), tree.path("Titles"));
  EXPECT_EQ(host("..\\x"), "../x");
  EXPECT_EQ(host("."), ".");
}

TEST_F(HostPathTest, PathsWithoutADriveAreHostPaths) {
  tree.file("Titles/a.txt");
  std::string windows_root = tree.root();
  std::replace(windows_root.begin(), windows_root.end(), '/', '\\');
  EXPECT_EQ(host(windows_root + "\\TITLES\\A.TXT"), tree.path("Titles/a.txt"));
  EXPECT_EQ(host("\\"), "/");
}

TEST_F(HostPathTest, UnmappedDrivesAndBadPathsAreErrors) {
  std::string out = "unchanged";
  EXPECT_EQ(to_host_path("Q:\\X", drives, out), sys_error::not_found);
  EXPECT_EQ(to_host_path("", drives, out), sys_error::invalid);
  EXPECT_EQ(to_host_path(std::string_view("C:\\A\0B", 6), drives, out), sys_error::invalid);
  EXPECT_EQ(out, "unchanged");
}

TEST_F(HostPathTest, NamesCrossBetweenWindows1252AndUtf8) {
  tree.file("caf\xC3\xA9.txt");
  tree.file("\xC5\x93uvre");         // œuvre
  tree.file("caf\xE9-latin1.txt");  // not UTF-8 on disk
  EXPECT_EQ(host("C:\\CAF\xC9.TXT"), tree.path("caf\xC3\xA9.txt"));
  EXPECT_EQ(host("C:\\\x9CUVRE"), tree.path("\xC5\x93uvre"));
  EXPECT_EQ(host("C:\\CAF\xC9-LATIN1.TXT"), tree.path("caf\xE9-latin1.txt"));
  EXPECT_EQ(host("C:\\\xE9t\xE9\x80.txt"), tree.path("\xC3\xA9t\xC3\xA9\xE2\x82\xAC.txt"));
}

// --- Drive map from the settings file ------------------------------------------

TEST(DriveMapTest, ComesFromTheDrivesSection) {
  TempTree config;
  TempTree titles;
  titles.file("Game/START.LSP");
  ScopedEnv xdg("XDG_CONFIG_HOME", config.root());
  ScopedEnv home("HOME", "/home/someone");
  config.file("orvane/orvane.ini", "[Other]\nc = /wrong\n[Drives]\nc = " + titles.root() +
                                       "//\nD: = ~/titles\nE=relative/dir\nXY = /bad\n1 = /bad\n");

  DriveMap map = DriveMap::from_settings();
  ASSERT_EQ(map.roots.size(), 3u);
  EXPECT_EQ(map.roots['C'], titles.root());
  EXPECT_EQ(map.roots['D'], "/home/someone/titles");
  EXPECT_EQ(map.roots['E'], (std::filesystem::current_path() / "relative/dir").string());

  std::string out;
  ASSERT_EQ(to_host_path("c:\\GAME\\start.lsp", out), sys_error::none);
  EXPECT_EQ(out, titles.path("Game/START.LSP"));
  EXPECT_EQ(to_host_path("F:\\GAME", out), sys_error::not_found);
}

TEST(DriveMapTest, NoSettingsFileMapsNoDrive) {
  TempTree config;
  ScopedEnv xdg("XDG_CONFIG_HOME", config.root());
  EXPECT_TRUE(DriveMap::from_settings().roots.empty());
  std::string out;
  EXPECT_EQ(to_host_path("C:\\X", out), sys_error::not_found);
}

// --- Host paths to Windows paths -----------------------------------------------

TEST_F(HostPathTest, HostPathsUnderADriveUseItsLetter) {
  EXPECT_EQ(to_windows_path(tree.path("Titles/Data"), drives), "C:\\Titles\\Data");
  EXPECT_EQ(to_windows_path(tree.root(), drives), "C:\\");
  EXPECT_EQ(to_windows_path(tree.root() + "/", drives), "C:\\");
  // A sibling sharing the root's text as a prefix is not under the root.
  std::string sibling = tree.root() + "x/f";
  std::string expected = sibling;
  std::replace(expected.begin(), expected.end(), '/', '\\');
  EXPECT_EQ(to_windows_path(sibling, drives), expected);
}

TEST_F(HostPathTest, TheLongestRootWins) {
  drives.roots['D'] = tree.path("Titles");
  drives.roots['A'] = "/";
  EXPECT_EQ(to_windows_path(tree.path("Titles/x"), drives), "D:\\x");
  EXPECT_EQ(to_windows_path(tree.path("Other"), drives), "C:\\Other");
  EXPECT_EQ(to_windows_path("/etc/hosts", drives), "A:\\etc\\hosts");
}

TEST(WindowsPathTest, OtherPathsKeepTheirShape) {
  DriveMap none;
  EXPECT_EQ(to_windows_path("/a//b/./c/", none), "\\a\\b\\c");
  EXPECT_EQ(to_windows_path("/", none), "\\");
  EXPECT_EQ(to_windows_path("rel/x", none), "rel\\x");
  EXPECT_EQ(to_windows_path("/caf\xC3\xA9/\xE2\x98\x83", none), "\\caf\xE9\\?");
  EXPECT_EQ(to_windows_path("/odd\\name", none), "\\odd?name");
}

TEST_F(HostPathTest, RoundTripsReachTheSameFiles) {
  tree.file("Titles/caf\xC3\xA9.txt");
  tree.file("Titles/snow\xE2\x98\x83man.txt");
  tree.file("Titles/Data/Scores.db");
  for (const char* relative : {"Titles/caf\xC3\xA9.txt", "Titles/snow\xE2\x98\x83man.txt", "Titles/Data/Scores.db"}) {
    std::string windows = to_windows_path(tree.path(relative), drives);
    EXPECT_EQ(host(windows), tree.path(relative)) << windows;
  }
  std::string windows = to_windows_path(host("C:\\TITLES\\DATA\\SCORES.DB"), drives);
  EXPECT_EQ(windows, "C:\\Titles\\Data\\Scores.db");
}

// --- Names ---------------------------------------------------------------------

TEST(WindowsNamesTest, CaseFoldingFollowsTheRuntimesTable) {
  EXPECT_TRUE(names_equal_ignoring_case("caf\xE9", "CAF\xC9"));
  EXPECT_TRUE(names_equal_ignoring_case("\xE0\xEF\xF1\xF6\xF8\xFC", "\xC0\xCF\xD1\xD6\xD8\xDC"));
  // Letters the table leaves without a partner compare exactly, as in
  // `string-nocase=?` and the resource manager's paths.
  EXPECT_FALSE(names_equal_ignoring_case("\x9C", "\x8C"));
  EXPECT_FALSE(names_equal_ignoring_case("\xFF", "\x9F"));
  EXPECT_FALSE(names_equal_ignoring_case("\xFE", "\xDE"));
  EXPECT_FALSE(names_equal_ignoring_case("\xF7", "\xD7"));  // division and multiplication signs
  EXPECT_FALSE(names_equal_ignoring_case("\xDF", "SS"));
  EXPECT_FALSE(names_equal_ignoring_case("abc", "abcd"));
  EXPECT_FALSE(names_equal_ignoring_case("caf\xE9", "CAFE"));
}

TEST(WindowsNamesTest, Utf8ToWindows1252) {
  EXPECT_EQ(utf8_to_windows1252("\xE2\x82\xAC \xC3\xA9 \xC5\x93"), "\x80 \xE9 \x9C");
  EXPECT_EQ(utf8_to_windows1252("\xE2\x98\x83"), "?");
  EXPECT_EQ(utf8_to_windows1252("\xF0\x9F\x98\x80!"), "?!");
  // Bytes that are no valid UTF-8 are taken as they stand.
  EXPECT_EQ(utf8_to_windows1252("caf\xE9"), "caf\xE9");
  EXPECT_EQ(utf8_to_windows1252("\xC0\xAF"), "\xC0\xAF");
  EXPECT_EQ(utf8_to_windows1252("\xED\xA0\x80"), "\xED\xA0\x80");
  EXPECT_EQ(utf8_to_windows1252("\xE2\x82"), "\xE2\x82");
}

TEST(FindEntryTest, ExactThenIgnoringCaseThenNothing) {
  TempTree tree;
  tree.file("Alpha");
  EXPECT_EQ(find_entry(tree.root(), "Alpha"), "Alpha");
  EXPECT_EQ(find_entry(tree.root(), "ALPHA"), "Alpha");
  EXPECT_EQ(find_entry(tree.root(), "Beta"), std::nullopt);
  EXPECT_EQ(find_entry(tree.path("missing"), "Alpha"), std::nullopt);
}

}  // namespace
}  // namespace orvane::platform
