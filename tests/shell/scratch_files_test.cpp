// The styled-text scratch file: registered while open, closed and deleted
// when discarded, and nothing when there is none.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/scratch_files.h"
#include "storage/resource_manager.h"
#include "storage/resources.h"
#include "storage/storage_support.h"
#include "support/runtime_fixture.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

class ScratchFileTest : public RuntimeTest {
 protected:
  int open_scratch(const std::string& path) {
    EXPECT_EQ(resource_manager().create_file(path, FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::none);
    return resource_manager().open(path);
  }
  void TearDown() override {
    shell::discard_styled_text_scratch();
    close_all_resource_files();
    RuntimeTest::TearDown();
  }
  TempDir dir;
};

TEST_F(ScratchFileTest, DiscardingClosesTheFileAndDeletesIt) {
  EXPECT_FALSE(shell::discard_styled_text_scratch()) << "none registered";
  const std::string path = dir.file("Styles.tmp");
  const int refnum = open_scratch(path);
  ASSERT_GT(refnum, 0);
  shell::register_styled_text_scratch(refnum, path);
  EXPECT_EQ(shell::styled_text_scratch_path(), fs::path(path));
  EXPECT_TRUE(shell::discard_styled_text_scratch());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(shell::styled_text_scratch_path().empty());
  resource_manager().close(refnum);
  EXPECT_EQ(resource_manager().last_error(), ResError::no_file) << "the file was closed";
  EXPECT_FALSE(shell::discard_styled_text_scratch()) << "discarded once";
}

TEST_F(ScratchFileTest, ANewRegistrationDiscardsTheOldFileAndAMissingFileIsNoError) {
  const std::string first = dir.file("First.tmp"), second = dir.file("Second.tmp");
  shell::register_styled_text_scratch(open_scratch(first), first);
  shell::register_styled_text_scratch(open_scratch(second), second);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_TRUE(fs::exists(second));
  fs::remove(second);
  EXPECT_FALSE(shell::discard_styled_text_scratch()) << "nothing left to delete, and no failure";
}

}  // namespace
}  // namespace orvane::testing
