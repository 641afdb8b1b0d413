// Directories, removing and renaming, listings, copying and temporary
// files, from Lisp.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host_files.h"
#include "storage/files_module.h"
#include "file_support.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

using DirectoryTest = FileLispTest;

TEST_F(DirectoryTest, CreatingAndRemovingDirectories) {
  EXPECT_TRUE(truth(R"((create-dir (list Dir "Sub")))"));
  EXPECT_TRUE(fs::is_directory(dir.file("Sub")));
  EXPECT_FALSE(truth(R"((create-dir (list Dir "Sub")))"));  // exists already
  write_bytes(dir.file("Sub/x"), text_bytes("x"));
  EXPECT_FALSE(truth(R"((remove-empty-dir (list Dir "Sub")))"));
  fs::remove(dir.file("Sub/x"));
  EXPECT_TRUE(truth(R"((remove-empty-dir (list Dir "SUB")))"));
  EXPECT_FALSE(fs::exists(dir.file("Sub")));
}

TEST_F(DirectoryTest, RemovingFiles) {
  write_bytes(dir.file("a.txt"), text_bytes("a"));
  EXPECT_TRUE(truth(R"((file-remove (list Dir "A.TXT") ()))"));
  EXPECT_FALSE(fs::exists(dir.file("a.txt")));
  EXPECT_EQ(error(R"((file-remove (list Dir "a.txt") ()))"), 31);
  EXPECT_FALSE(truth(R"((file-remove (list Dir "a.txt") t))"));
}

TEST_F(DirectoryTest, RenamingReplacesTheLastComponent) {
  write_bytes(dir.file("old.txt"), text_bytes("o"));
  write_bytes(dir.file("taken.txt"), text_bytes("t"));
  EXPECT_TRUE(truth(R"((file-rename (list Dir "old.txt") "new.txt"))"));
  EXPECT_TRUE(fs::exists(dir.file("new.txt")));
  EXPECT_FALSE(fs::exists(dir.file("old.txt")));
  EXPECT_FALSE(truth(R"((file-rename (list Dir "new.txt") "taken.txt"))"));
  EXPECT_EQ(read_bytes(dir.file("taken.txt")), text_bytes("t"));
  EXPECT_FALSE(truth(R"((file-rename (list Dir "none.txt") "x.txt"))"));
  // A new spelling of the same name.
  EXPECT_TRUE(truth(R"((file-rename (list Dir "NEW.TXT") "New.Txt"))"));
  EXPECT_TRUE(fs::exists(dir.file("New.Txt")));
  EXPECT_FALSE(fs::exists(dir.file("new.txt")));
}

TEST_F(DirectoryTest, ListingsSeparateFilesAndDirectories) {
  write_bytes(dir.file("one.txt"), text_bytes("1"));
  write_bytes(dir.file("two.dat"), text_bytes("2"));
  fs::create_directory(dir.file("sub"));
  Value files = eval("(sort string<? (dir-files Dir ()) () ())");
  EXPECT_EQ(print_to_string(files, PrintStyle::readable), R"(("one.txt" "two.dat"))");
  EXPECT_EQ(printed(R"((dir-files Dir "*.TXT"))"), R"(("one.txt"))");
  EXPECT_EQ(printed(R"((dir-files Dir ""))").size(), printed("(dir-files Dir ())").size());
  EXPECT_EQ(printed("(dir-subdirs Dir)"), R"(("sub"))");
  EXPECT_EQ(printed(R"((dir-files (list Dir "none") ()))"), "()");
}

TEST_F(DirectoryTest, HostNamesReachLispInWindows1252) {
  write_bytes(dir.file("caf\xC3\xA9.txt"), text_bytes("c"));  // UTF-8 on disk
  EXPECT_EQ(printed("(dir-files Dir ())"), "(\"caf\xE9.txt\")");
  EXPECT_TRUE(truth("(file-exists? (list Dir \"CAF\xC9.TXT\"))"));
  EXPECT_EQ(num("(file-length (list Dir \"caf\xE9.txt\"))"), 1);
}

TEST_F(DirectoryTest, SpaceErasabilityAndThePreferenceFolder) {
  EXPECT_GT(num("(volume-space Dir)"), 0);
  EXPECT_EQ(error(R"((volume-space "Q:"))"), 2);
  write_bytes(dir.file("free.txt"), text_bytes("f"));
  EXPECT_TRUE(truth(R"((erasable? (list Dir "free.txt")))"));
  platform::File held;
  ASSERT_EQ(platform::File::open(dir.file("free.txt"), platform::OpenMode::read_write, held), 0);
  ASSERT_EQ(held.try_lock(), 0);
  EXPECT_FALSE(truth(R"((erasable? (list Dir "free.txt")))"));
  EXPECT_FALSE(truth(R"((erasable? (list Dir "none.txt")))"));

  ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
  EXPECT_EQ(str("(parse-pathname (find-preference-folder))"), windows_path("config/orvane"));
}

TEST_F(DirectoryTest, ProgramGroupsAndItems) {
  ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
  write_bytes(dir.file("game.sh"), text_bytes("#!/bin/sh\n"));
  EXPECT_TRUE(truth(R"((add-program-group "Orvane Titles"))"));
  EXPECT_TRUE(fs::is_directory(dir.file("data/applications/Orvane Titles")));
  EXPECT_TRUE(truth(R"((add-program-item (list Dir "GAME.SH") "Orvane Titles" "Game"))"));
  EXPECT_TRUE(fs::exists(dir.file("data/applications/Orvane Titles/Game.desktop")));
  EXPECT_FALSE(truth(R"((add-program-item (list Dir "game.sh") "No Such Group" "Game"))"));
}

// --- Copying ---------------------------------------------------------------------------

class CopyFileTest : public FileLispTest {
 protected:
  void SetUp() override {
    FileLispTest::SetUp();
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    write_bytes(dir.file("big.bin"), content);
    eval(R"((define Source (list Dir "big.bin")))");
    eval(R"((define Target (list Dir "copy.bin")))");
  }
  Bytes content = Bytes(700000);  // more than one 512 KB chunk
};

TEST_F(CopyFileTest, CopiesInChunksReportingEachOne) {
  eval("(define Chunks ())");
  eval("(copy-file Source Target (lambda (_n) (set! Chunks (cons _n Chunks))))");
  EXPECT_EQ(read_bytes(dir.file("copy.bin")), content);
  EXPECT_EQ(printed("Chunks"), "(175712 524288)");
  EXPECT_TRUE(truth("(copy-file Source Target ())"));
  EXPECT_EQ(read_bytes(dir.file("copy.bin")), content);
}

TEST_F(CopyFileTest, AThrowFromTheProgressFunctionRemovesTheDestination) {
  EXPECT_EQ(printed("(catch 'stop (copy-file Source Target (lambda (_n) (throw 'stop 'stopped))))"), "stopped");
  EXPECT_FALSE(fs::exists(dir.file("copy.bin")));
  EXPECT_NE(error("(copy-file Source Target (lambda (_n) (car 1)))"), -1);
  EXPECT_FALSE(fs::exists(dir.file("copy.bin")));
  EXPECT_TRUE(fs::exists(dir.file("big.bin")));
}

TEST_F(CopyFileTest, FailuresAndCopiesOntoItself) {
  EXPECT_EQ(error(R"((copy-file (list Dir "none") Target ()))"), 31);
  EXPECT_FALSE(fs::exists(dir.file("copy.bin")));
  EXPECT_TRUE(truth(R"((copy-file Source (list Dir "BIG.BIN") ()))"));
  EXPECT_EQ(read_bytes(dir.file("big.bin")), content);
}

// --- Temporary files -----------------------------------------------------------------------

using TemporaryFileTest = FileLispTest;

TEST_F(TemporaryFileTest, NumberedFilesInTheTemporaryDirectory) {
  EXPECT_EQ(str(R"((parse-pathname (orvane-file-create () "" "" () () ())))"), windows_path("orvane1.tmp"));
  EXPECT_EQ(str(R"((parse-pathname (orvane-file-create () "" "" () t ())))"), windows_path("orvane2.tmp"));
  fs::remove(dir.file("orvane1.tmp"));
  EXPECT_EQ(str(R"((parse-pathname (orvane-file-create () "ORVN" "rsrc" t t ())))"), windows_path("orvane1.tmp"));
  EXPECT_EQ(str(R"((file-get-type (list Dir "orvane1.tmp")))"), "rsrc");
  EXPECT_EQ(str(R"((parse-pathname (orvane-file-create () "" "" () t ())))"), windows_path("orvane3.tmp"));
  EXPECT_TRUE(truth(R"((file-get-visible? (list Dir "orvane2.tmp")))"));
}

TEST_F(TemporaryFileTest, FilesAreHiddenUnlessVisible) {
  write_bytes(dir.file("probe"), text_bytes("p"));
  if (platform::set_hidden(dir.file("probe"), true) != 0) GTEST_SKIP() << "no hidden attribute on this file system";
  eval(R"((orvane-file-create () "" "" () () ()))");
  EXPECT_FALSE(truth(R"((file-get-visible? (list Dir "orvane1.tmp")))"));
}

TEST_F(TemporaryFileTest, NamedFilesAndTheirErrors) {
  write_bytes(dir.file("old.txt"), text_bytes("old"));
  EXPECT_EQ(printed(R"((orvane-file-create (list Dir "old.txt") "" "" () t ()))"), printed(R"((list Dir "old.txt"))"));
  EXPECT_EQ(read_bytes(dir.file("old.txt")).size(), 0u);  // truncated
  EXPECT_EQ(error(R"((orvane-file-create (list Dir "old.txt") "ORVN" "rsrc" t t ()))"), 33);
  EXPECT_EQ(printed(R"((orvane-file-create (list Dir "old.txt") "ORVN" "rsrc" t t t))"), "()");
  EXPECT_EQ(error(R"((orvane-file-create (list Dir "no" "x.txt") "" "" () t ()))"), 31);
  EXPECT_EQ(printed(R"((orvane-file-create (list Dir "no" "x.txt") "" "" () t t))"), "()");
}

TEST_F(TemporaryFileTest, CleaningUpSparesFilesInUseAndOtherNames) {
  for (const char* name : {"orvane1.tmp", "orvane7.tmp", "orvane2.txt", "other.tmp"})
    write_bytes(dir.file(name), text_bytes("x"));
  platform::File held;
  ASSERT_EQ(platform::File::open(dir.file("orvane7.tmp"), platform::OpenMode::read_write, held), 0);
  ASSERT_EQ(held.try_lock(), 0);
  clean_up_temporary_files();
  EXPECT_FALSE(fs::exists(dir.file("orvane1.tmp")));
  EXPECT_TRUE(fs::exists(dir.file("orvane7.tmp")));
  EXPECT_TRUE(fs::exists(dir.file("orvane2.txt")));
  EXPECT_TRUE(fs::exists(dir.file("other.tmp")));
}

}  // namespace
}  // namespace orvane::testing
