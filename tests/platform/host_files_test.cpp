#include "platform/host_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/file_io.h"
#include "platform_support.h"

namespace orvane::platform {
namespace {

using orvane::testing::ScopedEnv;
using orvane::testing::TempTree;

std::set<std::string> as_set(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

// --- Wildcards and listings ----------------------------------------------------

TEST(WildcardTest, WindowsPatterns) {
  EXPECT_TRUE(matches_wildcard("*.*", "README"));
  EXPECT_TRUE(matches_wildcard("*.*", "a.b.c"));
  EXPECT_TRUE(matches_wildcard("*.TXT", "notes.txt"));
  EXPECT_FALSE(matches_wildcard("*.TXT", "notes.txt.bak"));
  EXPECT_FALSE(matches_wildcard("*.TXT", "notes.tx"));
  EXPECT_TRUE(matches_wildcard("A?C.*", "abc.doc"));
  EXPECT_TRUE(matches_wildcard("A?C.*", "abc"));
  EXPECT_FALSE(matches_wildcard("A?C.*", "ac.doc"));
  EXPECT_FALSE(matches_wildcard("A?C", "abcd"));
  EXPECT_TRUE(matches_wildcard("README.*", "readme"));
  EXPECT_TRUE(matches_wildcard("*a*b*c", "xaybzc"));
  EXPECT_FALSE(matches_wildcard("*a*b*c", "xaybzcd"));
  EXPECT_TRUE(matches_wildcard("", "anything"));
  EXPECT_FALSE(matches_wildcard("x", ""));
}

TEST(WildcardTest, AccentedLettersMatchWithoutRegardToCase) {
  EXPECT_TRUE(matches_wildcard("\xC3\x89*.TXT", "\xC3\xA9t\xC3\xA9.txt"));  // É*.TXT / été.txt
  EXPECT_TRUE(matches_wildcard("\xC9*.TXT", "\xC3\xA9t\xC3\xA9.txt"));      // a Windows-1252 pattern byte
  EXPECT_FALSE(matches_wildcard("E*.TXT", "\xC3\xA9t\xC3\xA9.txt"));
}

TEST(ListingTest, FilesAndSubdirectoriesApart) {
  TempTree tree;
  tree.file("b.txt");
  tree.file("A.TXT");
  tree.file("c.doc");
  tree.directory("sub.txt");
  tree.directory("Other");
  std::filesystem::create_symlink("b.txt", tree.path("link.txt"));
  std::filesystem::create_symlink("missing", tree.path("dangling.txt"));
  std::filesystem::create_symlink("Other", tree.path("dirlink"));

  std::vector<std::string> names;
  ASSERT_EQ(list_files(tree.root(), "*.txt", names), sys_error::none);
  EXPECT_EQ(as_set(names), (std::set<std::string>{"b.txt", "A.TXT", "link.txt"}));
  ASSERT_EQ(list_files(tree.root(), "*.*", names), sys_error::none);
  EXPECT_EQ(as_set(names), (std::set<std::string>{"b.txt", "A.TXT", "link.txt", "c.doc"}));
  ASSERT_EQ(list_subdirectories(tree.root(), names), sys_error::none);
  EXPECT_EQ(as_set(names), (std::set<std::string>{"sub.txt", "Other", "dirlink"}));
  ASSERT_EQ(list_subdirectories(tree.path("Other"), names), sys_error::none);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(list_files(tree.path("nowhere"), "*.*", names), sys_error::not_found);
}

TEST(ListingTest, RemovesOnlyEmptyDirectories) {
  TempTree tree;
  tree.file("full/x");
  tree.directory("empty");
  EXPECT_NE(remove_empty_directory(tree.path("full")), sys_error::none);
  EXPECT_TRUE(directory_exists(tree.path("full")));
  EXPECT_EQ(remove_empty_directory(tree.path("empty")), sys_error::none);
  EXPECT_FALSE(directory_exists(tree.path("empty")));
  EXPECT_EQ(remove_empty_directory(tree.path("empty")), sys_error::not_found);
}

// --- Attributes ----------------------------------------------------------------

TEST(HiddenTest, AttributeRoundTrip) {
  TempTree tree;
  std::string file = tree.file("plain.txt");
  EXPECT_FALSE(is_hidden(file));
  int err = set_hidden(file, true);
  if (err == sys_error::not_supported) GTEST_SKIP() << "no user extended attributes here";
  ASSERT_EQ(err, sys_error::none);
  EXPECT_TRUE(is_hidden(file));
  EXPECT_EQ(set_hidden(file, true), sys_error::none);
  EXPECT_EQ(set_hidden(file, false), sys_error::none);
  EXPECT_FALSE(is_hidden(file));
  EXPECT_EQ(set_hidden(file, false), sys_error::none);

  std::string dir = tree.directory("folder");
  ASSERT_EQ(set_hidden(dir, true), sys_error::none);
  EXPECT_TRUE(is_hidden(dir));
}

TEST(HiddenTest, LeadingPeriodNamesAreHidden) {
  TempTree tree;
  std::string dot = tree.file(".profile");
  EXPECT_TRUE(is_hidden(dot));
  EXPECT_EQ(set_hidden(dot, true), sys_error::none);
  EXPECT_EQ(set_hidden(dot, false), sys_error::not_supported);
  EXPECT_TRUE(is_hidden(dot));
  EXPECT_FALSE(is_hidden(tree.path(".missing")));
  EXPECT_EQ(set_hidden(tree.path("missing"), true), sys_error::not_found);
}

TEST(TimesTest, AccessAndWriteTimesRoundTrip) {
  TempTree tree;
  std::string file = tree.file("t.txt", "x");
  FileTimes set;
  set.last_access = 1'000'000'000'123'456'000;  // September 2001
  set.last_write = 1'200'000'000'654'321'000;
  ASSERT_EQ(set_file_times(file, set), sys_error::none);
  FileTimes got;
  ASSERT_EQ(get_file_times(file, got), sys_error::none);
  EXPECT_EQ(got.last_access, set.last_access);
  EXPECT_EQ(got.last_write, set.last_write);

  set.last_write = -1'500'000'000;  // before 1970: seconds round down
  ASSERT_EQ(set_file_times(file, set), sys_error::none);
  ASSERT_EQ(get_file_times(file, got), sys_error::none);
  EXPECT_EQ(got.last_write, set.last_write);
}

TEST(TimesTest, CreationTimeIsWhenTheFileWasMade) {
  TempTree tree;
  auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                 std::chrono::system_clock::now().time_since_epoch()).count();
  std::string file = tree.file("new.txt");
  FileTimes got;
  ASSERT_EQ(get_file_times(file, got), sys_error::none);
  EXPECT_LT(std::abs(got.creation - now), 60'000'000'000);
  EXPECT_EQ(get_file_times(tree.path("missing"), got), sys_error::not_found);
}

// --- Volumes and sharing -------------------------------------------------------

TEST(VolumeTest, FreeSpaceOfAVolume) {
  TempTree tree;
  std::uint64_t kilobytes = 0;
  ASSERT_EQ(volume_free_kilobytes(tree.root(), kilobytes), sys_error::none);
  EXPECT_GT(kilobytes, 0u);
  EXPECT_EQ(volume_free_kilobytes(tree.path("missing"), kilobytes), sys_error::not_found);
}

TEST(ExclusiveTest, ALockedFileIsNotExclusive) {
  TempTree tree;
  std::string path = tree.file("shared.db", "data");
  EXPECT_TRUE(can_open_exclusively(path));
  {
    File holder;
    ASSERT_EQ(File::open(path, OpenMode::read_write, holder), sys_error::none);
    ASSERT_EQ(holder.try_lock(), sys_error::none);
    EXPECT_FALSE(can_open_exclusively(path));
  }
  EXPECT_TRUE(can_open_exclusively(path));
  // The check itself leaves no lock behind.
  File after;
  ASSERT_EQ(File::open(path, OpenMode::read_write, after), sys_error::none);
  EXPECT_EQ(after.try_lock(), sys_error::none);
}

TEST(ExclusiveTest, MissingFilesAndDirectoriesAreNot) {
  TempTree tree;
  EXPECT_FALSE(can_open_exclusively(tree.path("missing")));
  EXPECT_FALSE(can_open_exclusively(tree.root()));
}

// --- Well-known directories ----------------------------------------------------

TEST(DirectoriesTest, TemporaryDirectory) {
  {
    ScopedEnv tmp("TMPDIR", "/var/tmp//");
    EXPECT_EQ(temporary_directory(), "/var/tmp");
  }
  ScopedEnv tmp("TMPDIR", std::nullopt);
  EXPECT_EQ(temporary_directory(), "/tmp");
}

TEST(DirectoriesTest, ConfigurationDirectoryIsMadeWhenMissing) {
  TempTree tree;
  ScopedEnv xdg("XDG_CONFIG_HOME", tree.root());
  EXPECT_EQ(configuration_directory(), tree.path("orvane"));
  EXPECT_TRUE(directory_exists(tree.path("orvane")));
}

TEST(DirectoriesTest, ApplicationsDirectory) {
  {
    ScopedEnv data("XDG_DATA_HOME", "/data/");
    EXPECT_EQ(applications_directory(), "/data/applications");
  }
  ScopedEnv data("XDG_DATA_HOME", std::nullopt);
  ScopedEnv home("HOME", "/home/me");
  EXPECT_EQ(applications_directory(), "/home/me/.local/share/applications");
}

TEST(DirectoriesTest, ExecutablePathIsThisProgram) {
  std::string exe = executable_path();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(file_exists(exe));
  EXPECT_EQ(std::filesystem::path(exe).filename(), "test_platform");
}

}  // namespace
}  // namespace orvane::platform
