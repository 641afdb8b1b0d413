// File attributes from Lisp: the type and creator kept by resource files
// and databases or derived from the name, times on the run-time's scale,
// file-information blocks, and visibility.
#include <gtest/gtest.h>

#include <cstring>

#include "core/blocks.h"
#include "lib/dates.h"
#include "platform/host_files.h"
#include "file_support.h"

namespace orvane::testing {
namespace {

constexpr std::int64_t kSecond = 1000000000;

class FileAttributesTest : public FileLispTest {
 protected:
  void SetUp() override {
    FileLispTest::SetUp();
    write_bytes(dir.file("README"), text_bytes("read me"));
    eval(R"((define Text (list Dir "README")))");
    eval(R"((define Rsrc (orvane-file-create (list Dir "Title.RI") "ORVN" "rsrc" t t ())))");
    eval(R"((create-database-subr (list Dir "Scores.DB") "CRTR" "DBTY"))");
    eval(R"((define Db (list Dir "Scores.DB")))");
  }
  std::string type_of_new_file(const std::string& name) {
    write_bytes(dir.file(name), text_bytes("x"));
    return str("(file-get-type (list Dir \"" + name + "\"))");
  }
  std::string bytes_at(const std::string& name, std::size_t offset, std::size_t n) {
    Bytes b = read_bytes(dir.file(name));
    return b.size() < offset + n ? "<short>" : std::string(b.begin() + offset, b.begin() + offset + n);
  }
  void set_write_time(const std::string& name, std::int64_t unix_seconds) {
    platform::FileTimes t;
    ASSERT_EQ(platform::get_file_times(dir.file(name), t), 0);
    t.last_write = unix_seconds * kSecond;
    ASSERT_EQ(platform::set_file_times(dir.file(name), t), 0);
  }
};

TEST_F(FileAttributesTest, TypesOfOtherFilesComeFromTheirNames) {
  EXPECT_EQ(type_of_new_file("PHOTO.PIC"), "PICT");
  EXPECT_EQ(type_of_new_file("photo.pict"), "PICT");
  EXPECT_EQ(type_of_new_file("CLIP.MOV"), "MooV");
  EXPECT_EQ(type_of_new_file("clip.mvx"), "MooV");
  EXPECT_EQ(type_of_new_file("CLIP.MOVIE"), "TEXT");
  EXPECT_EQ(type_of_new_file("PIC.TXT"), "TEXT");
  EXPECT_EQ(str("(file-get-type Text)"), "TEXT");
  EXPECT_EQ(str("(file-get-creator Text)"), "????");
  EXPECT_EQ(error(R"((file-get-type (list Dir "missing.pic")))"), 0);  // reported through the error path
}

TEST_F(FileAttributesTest, ResourceFilesAndDatabasesKeepTheirCodes) {
  EXPECT_EQ(str("(file-get-type Rsrc)"), "rsrc");
  EXPECT_EQ(str("(file-get-creator Rsrc)"), "ORVN");
  EXPECT_EQ(str("(file-get-type Db)"), "DBTY");
  EXPECT_EQ(str("(file-get-creator Db)"), "CRTR");
  EXPECT_TRUE(truth(R"((file-set-type Rsrc "APPL"))"));
  EXPECT_TRUE(truth(R"((file-set-creator Db "NEWC"))"));
  EXPECT_EQ(bytes_at("Title.RI", 82, 8), "APPLORVN");
  EXPECT_EQ(bytes_at("Scores.DB", 16, 8), "NEWCDBTY");
  EXPECT_EQ(str("(file-get-type Rsrc)"), "APPL");
  // The resource manager still opens the file.
  EXPECT_GT(num("(openresfile Rsrc)"), 0);
}

TEST_F(FileAttributesTest, SettingTheTypeOfATextFileChangesNothing) {
  Bytes before = read_bytes(dir.file("README"));
  EXPECT_TRUE(truth(R"((file-set-type Text "PICT"))"));
  EXPECT_TRUE(truth(R"((file-set-creator Text "ABCD"))"));
  EXPECT_EQ(read_bytes(dir.file("README")), before);
  EXPECT_EQ(str("(file-get-type Text)"), "TEXT");
}

TEST_F(FileAttributesTest, FinderInfoIsTypeThenCreator) {
  eval("(define Info (new-ptr 8))");
  eval("(get-finder-info Rsrc Info)");
  Value info = eval("Info");
  const std::uint8_t* p = checked_bytes(address_of(info), 8, Access::read, info);
  EXPECT_EQ(std::string(p, p + 8), "rsrcORVN");
  std::memcpy(checked_bytes(address_of(info), 8, Access::write, info), "TYPECRTR", 8);
  eval("(set-finder-info Rsrc Info)");
  EXPECT_EQ(bytes_at("Title.RI", 82, 8), "TYPECRTR");
}

TEST_F(FileAttributesTest, ModificationTimesAreOnTheRunTimeScale) {
  set_write_time("README", 978307200);  // 2001-01-01 00:00:00 UTC
  EXPECT_EQ(num("(file-modification-time Text)"), time_from_unix(978307200));
  EXPECT_EQ(printed(R"((file-modification-time (list Dir "none")))"), "()");
  EXPECT_NE(printed("(file-creation-time Text)"), "()");
}

TEST_F(FileAttributesTest, SettingATimeTakesALocalDosDateAndTime) {
  // 15 June 1998, 12:30:20: the date in the high 16 bits, the time (two-second
  // units) in the low 16 bits.
  std::uint32_t date = ((1998 - 1980) << 9) | (6 << 5) | 15;
  std::uint32_t time = (12 << 11) | (30 << 5) | (20 / 2);
  std::string dos = std::to_string((date << 16) | time);
  EXPECT_TRUE(truth("(file-set-modification-time Text " + dos + ")"));
  EXPECT_EQ(num("(file-modification-time Text)"), num("(date->time '(1998 6 15 12 30 20))"));
  EXPECT_TRUE(truth("(file-set-creation-time Text " + dos + ")"));
  EXPECT_FALSE(truth("(file-set-modification-time Text 0)"));  // month 0
  EXPECT_FALSE(truth("(file-set-modification-time (list Dir \"none\") " + dos + ")"));
}

TEST_F(FileAttributesTest, FileInformationBlocks) {
  set_write_time("Title.RI", 978307200);
  Value info = eval("(define Info (get-file-info Rsrc))");
  info = eval("Info");
  ASSERT_TRUE(is_pointer(info));
  EXPECT_EQ(pointer_kind(info), PointerKind::memory_pointer);
  EXPECT_EQ(pointer_block_size(address_of(info)), 40u);
  std::uint8_t* p = checked_bytes(address_of(info), 40, Access::write, info);
  EXPECT_EQ(std::string(p, p + 8), "rsrcORVN");
  std::uint64_t write_time = 0;
  for (int i = 7; i >= 0; --i) write_time = write_time << 8 | p[24 + i];
  // 100-ns units since 1601.
  EXPECT_EQ(write_time, 978307200ull * 10000000 + 116444736000000000ull);

  // Another type and a write time one day later, stored back.
  std::memcpy(p, "APPL", 4);
  write_time += 86400ull * 10000000;
  for (int i = 0; i < 8; ++i) p[24 + i] = static_cast<std::uint8_t>(write_time >> (8 * i));
  EXPECT_TRUE(truth("(set-file-info Rsrc Info)"));
  EXPECT_EQ(bytes_at("Title.RI", 82, 4), "APPL");
  EXPECT_EQ(num("(file-modification-time Rsrc)"), time_from_unix(978307200 + 86400));

  eval("(dispose-file-info Info)");
  EXPECT_EQ(error("(mref 1 Info 0)"), 2);
}

TEST_F(FileAttributesTest, CopyFileInfoCopiesCodesAndTimes) {
  eval(R"((define Other (orvane-file-create (list Dir "Other.RI") "XXXX" "YYYY" t t ())))");
  set_write_time("Title.RI", 978307200);
  EXPECT_TRUE(truth("(copy-file-info Rsrc Other)"));
  EXPECT_EQ(bytes_at("Other.RI", 82, 8), "rsrcORVN");
  EXPECT_EQ(num("(file-modification-time Other)"), time_from_unix(978307200));
}

TEST_F(FileAttributesTest, Visibility) {
  EXPECT_TRUE(truth("(file-get-visible? Text)"));
  if (!truth("(file-set-visible? Text ())")) GTEST_SKIP() << "no hidden attribute on this file system";
  EXPECT_FALSE(truth("(file-get-visible? Text)"));
  EXPECT_TRUE(truth("(file-set-visible? Text t)"));
  EXPECT_TRUE(truth("(file-get-visible? Text)"));
}

}  // namespace
}  // namespace orvane::testing
