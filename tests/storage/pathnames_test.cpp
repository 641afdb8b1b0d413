// Pathnames: conversion to operating-system paths and back, the parts of a
// pathname, comparisons, and the global directories.
#include <gtest/gtest.h>

#include "platform/host_paths.h"
#include "storage/pathnames.h"
#include "file_support.h"

namespace orvane::testing {
namespace {

using PathnameTest = FileLispTest;

TEST_F(PathnameTest, ComponentsJoinWithSingleBackslashes) {
  EXPECT_EQ(str(R"((parse-pathname '("C:" "DIR" "FILE.TXT")))"), R"(C:\DIR\FILE.TXT)");
  EXPECT_EQ(str(R"((parse-pathname '("" "DIR")))"), R"(\DIR)");
  EXPECT_EQ(str(R"((orvane->os '("C:\" "DIR")))"), R"(C:\DIR)");
  EXPECT_EQ(str(R"((parse-pathname '(("C:" ("DIR")) () "A.TXT")))"), R"(C:\DIR\A.TXT)");
}

TEST_F(PathnameTest, TrailingBackslashIsDroppedExceptAtARoot) {
  EXPECT_EQ(str(R"((parse-pathname '("C:" "DIR" "")))"), R"(C:\DIR)");
  EXPECT_EQ(str(R"((parse-pathname "C:\DIR\"))"), R"(C:\DIR)");
  EXPECT_EQ(str(R"((parse-pathname '("C:" "")))"), R"(C:\)");
  EXPECT_EQ(str(R"((parse-pathname '("")))"), R"(\)");
}

TEST_F(PathnameTest, SymbolsStandForTheirValues) {
  eval(R"((define Base '("C:" "TITLE")))");
  EXPECT_EQ(str(R"((parse-pathname '(Base "DATA" "X.DB")))"), R"(C:\TITLE\DATA\X.DB)");
  EXPECT_EQ(error(R"((parse-pathname '(Never-Bound "X")))"), 6);
  eval("(define Loop 'Loop)");
  EXPECT_EQ(error("(parse-pathname 'Loop)"), 2);
}

TEST_F(PathnameTest, OtherValuesAndLongPathsAreRefused) {
  EXPECT_EQ(error("(parse-pathname 12)"), 2);
  EXPECT_EQ(error(R"((parse-pathname '("A" 1.5)))"), 2);
  std::string name(253, 'x');  // "C:" + backslash + 253 characters: 256
  EXPECT_EQ(num("(string-length (parse-pathname (list \"C:\" \"" + name.substr(1) + "\")))"), 255);
  EXPECT_EQ(error("(parse-pathname (list \"C:\" \"" + name + "\"))"), 2);
}

TEST_F(PathnameTest, OperatingSystemPathsBecomeComponentLists) {
  EXPECT_EQ(printed(R"((os->orvane "C:\DIR\FILE.TXT"))"), R"(("C:" "DIR" "FILE.TXT"))");
  EXPECT_EQ(printed(R"((os->orvane "C:FILE"))"), R"(("C:" "FILE"))");
  EXPECT_EQ(printed(R"((os->orvane "DIR\X"))"), R"(("DIR" "X"))");
  // A rooted path keeps its root, so it converts back to itself.
  EXPECT_EQ(printed(R"((os->orvane "\tmp\x"))"), R"(("" "tmp" "x"))");
  EXPECT_EQ(str(R"((parse-pathname (os->orvane "\tmp\x")))"), R"(\tmp\x)");
}

TEST_F(PathnameTest, MakePathnameSplitsDriveDirectoriesAndName) {
  EXPECT_EQ(printed(R"((make-pathname "C:\DIR\SUB\FILE.TXT"))"), R"(("C:" ("DIR" "SUB") "FILE.TXT"))");
  EXPECT_EQ(printed(R"((make-pathname "\tmp\FILE"))"), R"(("" ("tmp") "FILE"))");
  EXPECT_EQ(printed(R"((make-pathname "DIR\FILE"))"), R"((() ("DIR") "FILE"))");
  for (const char* path : {R"(C:\DIR\SUB\FILE.TXT)", R"(\tmp\FILE)", R"(DIR\FILE)", R"(C:\)"})
    EXPECT_EQ(str(std::string("(parse-pathname (make-pathname \"") + path + "\"))"), path);
}

TEST_F(PathnameTest, ComparisonsIgnoreLetterCase) {
  EXPECT_TRUE(truth(R"((pathname=? "c:\dir\file.txt" '("C:" "DIR" "FILE.TXT")))"));
  EXPECT_FALSE(truth(R"((pathname=? "C:\DIR\A" "C:\DIR\B"))"));
  EXPECT_TRUE(truth(R"((pathname-inclusion "C:\DIR" "c:\dir\sub\x"))"));
  EXPECT_TRUE(truth(R"((pathname-inclusion "C:\DIR" "C:\DIR"))"));
  EXPECT_TRUE(truth(R"((pathname-inclusion "C:\" "C:\X"))"));
  EXPECT_FALSE(truth(R"((pathname-inclusion "C:\DIR" "C:\DIRX\A"))"));
  EXPECT_FALSE(truth(R"((pathname-inclusion "C:\DIR\SUB" "C:\DIR"))"));
}

TEST_F(PathnameTest, PartsOfAPathname) {
  eval(R"((define Where '("C:" "TITLE" "DATA")))");
  EXPECT_EQ(str(R"((pathname-name '("C:" "DIR" "F.TXT")))"), "F.TXT");
  EXPECT_EQ(str("(pathname-name '(Where))"), "DATA");
  EXPECT_EQ(printed("(pathname-directory '(Where))"), R"(("C:" "TITLE"))");
  EXPECT_EQ(printed(R"((pathname-directory '("F.TXT")))"), "()");
  EXPECT_EQ(str(R"((pathname-volume '(Where "X")))"), "C:");
  EXPECT_EQ(error("(pathname-name 12)"), 2);
}

TEST_F(PathnameTest, ResourcePathnamesAreNumbersAndStrings) {
  EXPECT_TRUE(truth("(resource-pathname? 12)"));
  EXPECT_TRUE(truth("(resource-pathname? 100000000)"));
  EXPECT_TRUE(truth("(resource-pathname? 1.5)"));
  EXPECT_TRUE(truth(R"((resource-pathname? "X"))"));
  EXPECT_FALSE(truth("(resource-pathname? 'x)"));
  EXPECT_FALSE(truth("(resource-pathname? '(\"X\"))"));
}

// The title directory is read when the module registers.
class TitleDirectoryTest : public FileLispTest {
 protected:
  void SetUp() override {
    set_title_directory(dir.path());
    FileLispTest::SetUp();
  }
  void TearDown() override {
    FileLispTest::TearDown();
    set_title_directory("");
  }
};

TEST_F(TitleDirectoryTest, GlobalDirectoriesFollowTheTitle) {
  std::string windows = platform::to_windows_path(dir.path());
  EXPECT_EQ(str("(parse-pathname orvane-dir)"), windows);
  EXPECT_EQ(str("(parse-pathname appl-dir)"), windows + "\\Appl");
  EXPECT_EQ(str("(parse-pathname system-dir)"), windows + "\\System");
  EXPECT_EQ(str("(pathname-name appl-dir)"), "Appl");
}

}  // namespace
}  // namespace orvane::testing
