#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_io.h"
#include "platform/host_files.h"
#include "platform_support.h"

namespace orvane::platform {
namespace {

using orvane::testing::ScopedEnv;
using orvane::testing::TempTree;

class DesktopEntryTest : public ::testing::Test {
 protected:
  DesktopEntryTest() : data_home_("XDG_DATA_HOME", data.root()) {}

  std::string entry(const std::string& group, const std::string& name) {
    std::string text;
    EXPECT_EQ(read_whole_file(data.path("applications/" + group + "/" + name + ".desktop"), text), sys_error::none);
    return text;
  }

  TempTree data;
  TempTree titles;

 private:
  ScopedEnv data_home_;
};

TEST_F(DesktopEntryTest, GroupsAreSubdirectories) {
  ASSERT_EQ(add_program_group("My Titles"), sys_error::none);
  EXPECT_TRUE(directory_exists(data.path("applications/My Titles")));
  EXPECT_EQ(add_program_group("My Titles"), sys_error::none);
  ASSERT_EQ(add_program_group("Maker/Titles"), sys_error::none);
  EXPECT_TRUE(directory_exists(data.path("applications/Maker_Titles")));
  EXPECT_EQ(add_program_group(".."), sys_error::invalid);
  EXPECT_EQ(add_program_group(""), sys_error::invalid);
}

TEST_F(DesktopEntryTest, AnItemStartsItsTarget) {
  ASSERT_EQ(add_program_group("Tools"), sys_error::none);
  ASSERT_EQ(add_program_item("/opt/tools/viewer", "Tools", "Viewer"), sys_error::none);
  EXPECT_EQ(entry("Tools", "Viewer"),
            "[Desktop Entry]\nType=Application\nName=Viewer\nExec=\"/opt/tools/viewer\"\n");
}

TEST_F(DesktopEntryTest, ExecArgumentsAreQuotedAndEscaped) {
  ASSERT_EQ(add_program_group("Tools"), sys_error::none);
  ASSERT_EQ(add_program_item(R"(/opt/my $dir/a "b"\c%d`e)", "Tools", "Odd"), sys_error::none);
  // Quoting escapes $ " \ ` and doubles %; the value escaping then doubles
  // every backslash.
  EXPECT_EQ(entry("Tools", "Odd"),
            "[Desktop Entry]\nType=Application\nName=Odd\n"
            R"(Exec="/opt/my \\$dir/a \\"b\\"\\\\c%%d\\`e")"
            "\n");
}

TEST_F(DesktopEntryTest, ATitleExecutablePlaysItsResourceFile) {
  titles.file("Game/GAME.EXE");
  std::string resource = titles.file("Game/game.ri");
  ASSERT_EQ(add_program_group("Games"), sys_error::none);
  ASSERT_EQ(add_program_item(titles.path("Game/GAME.EXE"), "Games", "The Game"), sys_error::none);
  EXPECT_EQ(entry("Games", "The Game"), "[Desktop Entry]\nType=Application\nName=The Game\nExec=\"" +
                                            executable_path() + "\" play \"" + resource + "\"\n");

  titles.file("Other/OTHER.exe");
  ASSERT_EQ(add_program_item(titles.path("Other/OTHER.exe"), "Games", "Other"), sys_error::none);
  EXPECT_EQ(entry("Games", "Other"), "[Desktop Entry]\nType=Application\nName=Other\nExec=\"" +
                                         titles.path("Other/OTHER.exe") + "\"\n");
}

TEST_F(DesktopEntryTest, NamesAreMadeFitForFilesAndValues) {
  ASSERT_EQ(add_program_group("G"), sys_error::none);
  ASSERT_EQ(add_program_item("/bin/true", "G", "Read/Write"), sys_error::none);
  EXPECT_EQ(entry("G", "Read_Write"), "[Desktop Entry]\nType=Application\nName=Read/Write\nExec=\"/bin/true\"\n");
  ASSERT_EQ(add_program_item("/bin/true", "G", " two\nlines\\"), sys_error::none);
  EXPECT_EQ(entry("G", " two\nlines\\"),
            "[Desktop Entry]\nType=Application\nName=\\stwo\\nlines\\\\\nExec=\"/bin/true\"\n");
  EXPECT_EQ(add_program_item("/bin/true", "G", ""), sys_error::invalid);
}

TEST_F(DesktopEntryTest, AnExistingItemIsReplaced) {
  ASSERT_EQ(add_program_group("G"), sys_error::none);
  ASSERT_EQ(add_program_item("/bin/first", "G", "Item"), sys_error::none);
  ASSERT_EQ(add_program_item("/bin/second", "G", "Item"), sys_error::none);
  EXPECT_NE(entry("G", "Item").find("Exec=\"/bin/second\""), std::string::npos);
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(data.path("applications/G"))) ++count;
  EXPECT_EQ(count, 1u);
}

TEST_F(DesktopEntryTest, AMissingGroupIsAnError) {
  EXPECT_EQ(add_program_item("/bin/true", "Nowhere", "Item"), sys_error::not_found);
  EXPECT_FALSE(file_exists(data.path("applications/Nowhere/Item.desktop")));
}

}  // namespace
}  // namespace orvane::platform
