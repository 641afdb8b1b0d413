// Windows paths with drive letters, end to end through Lisp: the [drives]
// section of the settings file maps a letter to a directory, and names are
// found whatever their letter case on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "file_support.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

class DriveMappingTest : public FileLispTest {
 protected:
  void SetUp() override {
    fs::create_directories(dir.file("config/orvane"));
    fs::create_directories(dir.file("drive/sub"));
    std::ofstream(dir.file("config/orvane/orvane.ini")) << "[drives]\nX = " << dir.file("drive") << "\n";
    write_bytes(dir.file("drive/sub/file.txt"), text_bytes("mapped"));
    FileLispTest::SetUp();
  }
  ScopedEnv config{"XDG_CONFIG_HOME", dir.file("config")};
};

TEST_F(DriveMappingTest, DrivePathsReachTheMappedDirectory) {
  eval(R"((define F (file-open "X:\SUB\FILE.TXT" 0)))");
  eval("(define Block (new-ptr 6))");
  EXPECT_EQ(num("(file-read-block F Block 6)"), 6);
  EXPECT_EQ(num("(mref 1 Block 0)"), 'm');
  eval("(file-close F)");
  EXPECT_TRUE(truth(R"((file-exists? '("x:" "Sub" "File.Txt")))"));
  EXPECT_EQ(printed(R"((dir-files "X:\SUB" ()))"), R"(("file.txt"))");
}

TEST_F(DriveMappingTest, NewFilesUnderADriveAndPathsHandedBack) {
  EXPECT_EQ(printed(R"((orvane-file-create "X:\SUB\NEW.DAT" "" "" () t ()))"), R"("X:\\SUB\\NEW.DAT")");
  EXPECT_TRUE(fs::exists(dir.file("drive/sub/NEW.DAT")));
  ScopedEnv tmp("TMPDIR", dir.file("drive/sub"));
  EXPECT_EQ(str(R"((parse-pathname (orvane-file-create () "" "" () t ())))"), R"(X:\sub\orvane1.tmp)");
}

TEST_F(DriveMappingTest, ResourceFilesAndDatabasesTakeDrivePaths) {
  EXPECT_EQ(printed(R"((orvane-file-create "X:\SUB\TITLE.RI" "ORVN" "rsrc" t t ()))"), R"("X:\\SUB\\TITLE.RI")");
  EXPECT_GT(num(R"((openresfile "x:\sub\title.ri"))"), 0);
  EXPECT_TRUE(truth(R"((openrf? "X:\SUB\TITLE.RI"))"));
  eval(R"((create-database-subr "X:\SUB\SCORES.DB" "CRTR" "TYPE"))");
  EXPECT_TRUE(fs::exists(dir.file("drive/sub/SCORES.DB")));
  EXPECT_TRUE(truth(R"((database? "x:\sub\scores.db"))"));
}

TEST_F(DriveMappingTest, AnUnmappedDriveIsAMissingFile) {
  EXPECT_EQ(error(R"((file-open "Q:\FILE.TXT" 0))"), 31);
  EXPECT_FALSE(truth(R"((file-exists? "Q:\FILE.TXT"))"));
  EXPECT_EQ(num(R"((openresfile "Q:\TITLE.RI"))"), -1);
  EXPECT_EQ(num("(reserror)"), -37);
  EXPECT_EQ(error(R"((load "Q:\X.LSP"))"), 31);
}

}  // namespace
}  // namespace orvane::testing
