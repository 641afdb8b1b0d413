// The native record database: file layout, records that survive a reopen,
// text conversion, removal and compaction, names, ids and refused files.
#include <gtest/gtest.h>

#include "platform/byte_reader.h"
#include "storage/database.h"
#include "db_support.h"

namespace orvane::testing {
namespace {

const FourCC kText = FourCC::of("TEXT");
const FourCC kData = FourCC::of("DATA");

class DatabaseNative : public ::testing::Test {
 protected:
  void SetUp() override { create_database_file(path, FourCC::of("ORVN"), FourCC::of("DBSE")); }
  DbTempDir dir;
  std::string path = dir.file("scores.db");
  MemoryHandleStore store;
};

TEST_F(DatabaseNative, EmptyFileHasTheDocumentedLayout) {
  Bytes b = file_bytes(path);
  ASSERT_EQ(b.size(), 294u);
  EXPECT_EQ(load_u32be(&b[0]), 256u);
  EXPECT_EQ(load_u32be(&b[4]), 256u);
  EXPECT_EQ(load_u32be(&b[12]), 38u);
  EXPECT_EQ(std::string(b.begin() + 16, b.begin() + 24), "ORVNDBSE");
  EXPECT_EQ(b[128], 2);
  EXPECT_EQ(load_u32be(&b[136]), 0xffffffffu);
  EXPECT_EQ(load_u32be(&b[140]), 0u);
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 16, b.begin() + 256));  // header copy in the map
  EXPECT_EQ(load_u32be(&b[256 + 26]), 34u);
  EXPECT_EQ(load_u32be(&b[256 + 30]), 38u);
  EXPECT_EQ(load_u32be(&b[256 + 34]), 0xffffffffu);
  EXPECT_TRUE(is_database_file(path));
}

TEST_F(DatabaseNative, CreatingOverAnExistingFileIsError6) {
  try {
    create_database_file(path, kText, kText);
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.code, 6);
    EXPECT_FALSE(e.system);
  }
  try {
    create_database_in_file(dir.file("missing"), kText, kText);
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.code, 6);
  }
}

TEST_F(DatabaseNative, RecordsSurviveUpdateAndReopen) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "TEXT", 7, "seven", "name7");
    add_text(*db, store, "DATA", -3, std::string("\0\1\2", 3));
    add_text(*db, store, "TEXT", 8, "");
    db->update(true);
  }
  auto db = open_db(path, store);
  EXPECT_EQ(db->count_types(), 2);
  EXPECT_EQ(db->count(kText), 2);
  DbEntry* e = db->find(kText, 7);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(db->name_of(*e), "name7");
  EXPECT_EQ(e->time, fixed_clock());
  EXPECT_EQ(e->attrs, db::kWindowsText);  // changed cleared by the write
  EXPECT_EQ(text_of(store, db->load(kText, *e, false)), "seven");
  EXPECT_EQ(db->find_named(kText, "name7"), e);
  EXPECT_EQ(text_of(store, db->load(kData, *db->find(kData, -3), false)), std::string("\0\1\2", 3));
  EXPECT_EQ(db->find(kText, 8)->size, 0);
  EXPECT_EQ(stored(path, "TEXT", 9), "<absent>");
}

TEST_F(DatabaseNative, MacintoshTextIsConvertedOnceAndStoredConverted) {
  std::uint32_t h;
  {
    auto db = open_db(path, store);
    h = add_text(*db, store, "TEXT", 1, "caf\x8e");  // é in the Macintosh set
    add_text(*db, store, "BIN ", 1, "caf\x8e");
    db->update(false);
    db->set_attrs(h, 0);  // as a Macintosh wrote it: no Windows-text mark
    db->update(false);
  }
  {
    auto db = open_db(path, store);
    std::uint32_t t = db->load(kText, *db->find(kText, 1), false);
    EXPECT_EQ(text_of(store, t), "caf\xe9");
    EXPECT_EQ(stored(path, "BIN ", 1), "caf\x8e");  // not a text type
    db->changed(t);
    db->update(false);
  }
  auto db = open_db(path, store);
  EXPECT_EQ(db->find(kText, 1)->attrs & db::kWindowsText, db::kWindowsText);
  EXPECT_EQ(text_of(store, db->load(kText, *db->find(kText, 1), false)), "caf\xe9");
}

TEST_F(DatabaseNative, GrowingRecordMovesToTheEndAndShrinkingStaysInPlace) {
  auto db = open_db(path, store);
  std::uint32_t a = add_text(*db, store, "DATA", 1, "aaaa");
  add_text(*db, store, "DATA", 2, "bbbb");
  db->update(false);
  fill(store, a, "AAAAAAAA");
  db->changed(a);
  db->update(false);
  EXPECT_EQ(db->find(kData, 1)->data_offset, 8);
  fill(store, a, "xy");
  db->changed(a);
  db->update(false);
  EXPECT_EQ(db->find(kData, 1)->data_offset, 8);
  EXPECT_EQ(stored(path, "DATA", 1), "xy");
  EXPECT_EQ(stored(path, "DATA", 2), "bbbb");
}

TEST_F(DatabaseNative, WriteRecordLeavesAWholeFile) {
  auto db = open_db(path, store);
  add_text(*db, store, "DATA", 1, "old");
  db->update(false);
  std::uint32_t h = db->load(kData, *db->find(kData, 1), false);
  fill(store, h, "a longer value");
  db->changed(h);
  db->write_record(h);
  // Another reader sees the written record at once: the map was rewritten
  // with it, not left stale under the appended data.
  EXPECT_TRUE(is_database_file(path));
  EXPECT_EQ(stored(path, "DATA", 1), "a longer value");
}

TEST_F(DatabaseNative, UpdateAfterRemovingMostRecordsCompactsTheFile) {
  {
    auto db = open_db(path, store);
    for (int i = 0; i < 10; ++i) add_text(*db, store, "DATA", i, std::string(100, static_cast<char>('a' + i)));
    db->update(true);
    for (int i = 0; i < 9; ++i) db->remove(db->find(kData, i)->handle);
    EXPECT_EQ(db->count(kData), 1);
    db->update(true);
    EXPECT_EQ(db->header().data_length, 100u);
    EXPECT_EQ(db->header().map_offset, 356u);
    EXPECT_EQ(db->find(kData, 9)->data_offset, 0);
  }
  EXPECT_EQ(file_bytes(path).size(), 356u + 34 + 4 + 12 + 26);
  EXPECT_EQ(stored(path, "DATA", 9), std::string(100, 'j'));
}

TEST_F(DatabaseNative, WithoutCompactionRemovedDataStaysUntilCompacted) {
  auto db = open_db(path, store);
  for (int i = 0; i < 4; ++i) add_text(*db, store, "DATA", i, std::string(10, static_cast<char>('a' + i)));
  db->update(false);
  db->remove(db->find(kData, 0)->handle);
  db->remove(db->find(kData, 2)->handle);
  db->update(false);
  EXPECT_EQ(db->header().data_length, 40u);
  db->compact();
  EXPECT_EQ(db->header().data_length, 20u);
  EXPECT_EQ(stored(path, "DATA", 1), std::string(10, 'b'));
  EXPECT_EQ(stored(path, "DATA", 3), std::string(10, 'd'));
  EXPECT_EQ(stored(path, "DATA", 0), "<absent>");
}

TEST_F(DatabaseNative, RemovingEveryRecordOfATypeDropsTheTypeAtTheNextCompaction) {
  auto db = open_db(path, store);
  std::uint32_t h = add_text(*db, store, "DATA", 1, "x");
  add_text(*db, store, "TEXT", 1, "y");
  db->update(false);
  db->remove(h);
  EXPECT_EQ(db->count_types(), 2);
  db->update(false);
  EXPECT_EQ(db->count_types(), 1);
  EXPECT_EQ(db->indexed_type(0)->str(), "TEXT");
  EXPECT_FALSE(db->indexed_type(1).has_value());
}

TEST_F(DatabaseNative, ProtectedRecordsAreNeitherRenamedNorRemoved) {
  auto db = open_db(path, store);
  std::uint32_t h = add_text(*db, store, "DATA", 1, "x", "keep");
  db->set_attrs(h, db::kProtected);
  db->set_info(h, 99, "other");
  EXPECT_EQ(db->find(kData, 1), db->find_handle(h));
  try {
    db->remove(h);
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.code, 8);
  }
}

TEST_F(DatabaseNative, SetInfoRenamesInPlaceOrAppends) {
  auto db = open_db(path, store);
  std::uint32_t h = add_text(*db, store, "DATA", 1, "x", "longname");
  db->set_info(h, 2, "short");
  EXPECT_EQ(db->find_handle(h)->name_offset, 0);
  EXPECT_EQ(db->name_of(*db->find_handle(h)), "short");
  db->set_info(h, 2, "a much longer name");
  EXPECT_GT(db->find_handle(h)->name_offset, 0);
  db->set_info(h, 3, "");
  EXPECT_EQ(db->find_handle(h)->name_offset, -1);
  db->update(false);
  EXPECT_EQ(stored(path, "DATA", 3), "x");
}

TEST_F(DatabaseNative, AddingAHandleTwiceOrNoHandleIsError7) {
  auto db = open_db(path, store);
  std::uint32_t h = add_text(*db, store, "DATA", 1, "x");
  for (std::uint32_t bad : {h, 0u, 999u}) {
    try {
      db->add(bad, kData, 2, "");
      FAIL();
    } catch (const DatabaseError& e) {
      EXPECT_EQ(e.code, 7);
    }
  }
}

TEST_F(DatabaseNative, ReadOnlyDatabasesRefuseChangesButIgnoreWrites) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "DATA", 1, "x");
    db->update(false);
  }
  auto db = open_db(path, store, DbOpenMode::read_only);
  EXPECT_TRUE(db->read_only());
  std::uint32_t h = db->load(kData, *db->find(kData, 1), false);
  try {
    db->changed(h);
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.code, 9);
  }
  EXPECT_NO_THROW(db->write_record(h));
  EXPECT_NO_THROW(db->update(true));
  try {
    db->compact();
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(e.code, 9);
  }
}

TEST_F(DatabaseNative, PreloadedRecordsHaveHandlesAtOpen) {
  {
    auto db = open_db(path, store);
    std::uint32_t h = add_text(*db, store, "DATA", 1, "pre");
    add_text(*db, store, "DATA", 2, "lazy");
    db->set_attrs(h, db::kPreload | db::kWindowsText | db::kChanged);
    db->update(false);
  }
  MemoryHandleStore fresh;
  auto db = open_db(path, fresh);
  ASSERT_NE(db->find(kData, 1)->handle, 0u);
  EXPECT_EQ(text_of(fresh, db->find(kData, 1)->handle), "pre");
  EXPECT_EQ(db->find(kData, 2)->handle, 0u);
}

// --- Refused files -------------------------------------------------------------------------

int open_error(const std::string& path) {
  MemoryHandleStore store;
  try {
    open_db(path, store);
  } catch (const DatabaseError& e) {
    return e.code;
  }
  return 0;
}

TEST_F(DatabaseNative, ResourceFilesAndDamagedHeadersAreRefused) {
  Bytes good = file_bytes(path);
  Bytes rsrc = good;
  rsrc[128] = 0;  // a resource file's mark
  put_file(path, rsrc);
  EXPECT_EQ(open_error(path), 1);
  EXPECT_FALSE(is_database_file(path));

  put_file(path, Bytes(good.begin(), good.begin() + 100));
  EXPECT_EQ(open_error(path), 3);

  Bytes extra = good;
  extra.push_back(0);  // the map no longer ends the file
  put_file(path, extra);
  EXPECT_EQ(open_error(path), 1);

  Bytes mismatch = good;
  mismatch[256 + 15] ^= 1;  // the map's header copy differs
  put_file(path, mismatch);
  EXPECT_EQ(open_error(path), 1);
}

TEST_F(DatabaseNative, RecordDataOutsideTheDataAreaIsRefused) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "DATA", 1, "abcd");
    db->update(false);
  }
  Bytes b = file_bytes(path);
  std::uint32_t map = load_u32be(&b[4]);
  std::size_t entry = map + 34 + 4 + 12;
  store_u32be(&b[entry + 14], 0x7ffffff0);  // an absurd size
  put_file(path, b);
  EXPECT_EQ(open_error(path), 1);
}

// The map's counts hold the count minus one. Every value of the field is
// read without overflow: -1 is an empty list, and a count the map cannot
// hold is refused like any other damaged map.
TEST_F(DatabaseNative, MapCountsOfEveryValueAreReadSafely) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "DATA", 1, "abcd");
    db->update(false);
  }
  const Bytes good = file_bytes(path);
  const std::uint32_t map = load_u32be(&good[4]);
  const std::size_t type_count_at = map + load_u32be(&good[map + 26]);
  const std::size_t record_count_at = type_count_at + 4 + 4;
  auto with_field = [&](std::size_t at, std::uint32_t value) {
    Bytes b = good;
    store_u32be(&b[at], value);
    put_file(path, b);
  };

  for (std::uint32_t absurd : {0x7fffffffu, 0x7ffffffeu, 0x80000000u, 0xfffffffeu, 0x10000u}) {
    with_field(type_count_at, absurd);
    EXPECT_EQ(open_error(path), 1) << std::hex << absurd;
    with_field(record_count_at, absurd);
    EXPECT_EQ(open_error(path), 1) << std::hex << absurd;
  }

  with_field(type_count_at, 0xffffffffu);
  {
    auto db = open_db(path, store);
    EXPECT_EQ(db->count_types(), 0);
    EXPECT_EQ(db->find(kData, 1), nullptr);
  }
  with_field(record_count_at, 0xffffffffu);
  {
    auto db = open_db(path, store);
    EXPECT_EQ(db->count(kData), 0);
    EXPECT_EQ(db->find(kData, 1), nullptr);
  }
  put_file(path, good);
  EXPECT_EQ(open_db(path, store)->count(kData), 1);
}

TEST_F(DatabaseNative, ANegativeDataOffsetMeansNoDataWhateverTheSize) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "DATA", 1, "abcd");
    db->update(false);
  }
  Bytes b = file_bytes(path);
  std::size_t entry = load_u32be(&b[4]) + 34 + 4 + 12;
  store_u32be(&b[entry + 10], 0xfffffffb);  // offset -5 with a size of 4 beside it
  put_file(path, b);
  {
    auto db = open_db(path, store);
    DbEntry* e = db->find(kData, 1);
    EXPECT_EQ(e->size, -1);
    std::uint32_t h = db->load(kData, *e, false);
    fill(store, h, "new!");
    db->changed(h);
    db->update(false);  // written at the end of the data area, not at offset -5
  }
  EXPECT_EQ(stored(path, "DATA", 1), "new!");
}

TEST_F(DatabaseNative, ATypeListedTwiceIsReadAsOne) {
  {
    auto db = open_db(path, store);
    add_text(*db, store, "DATA", 1, "one");
    add_text(*db, store, "TEXT", 2, "two");
    db->update(false);
  }
  Bytes b = file_bytes(path);
  std::size_t second_type = load_u32be(&b[4]) + 34 + 4 + 12;
  std::copy_n("DATA", 4, b.begin() + static_cast<std::ptrdiff_t>(second_type));
  put_file(path, b);
  auto db = open_db(path, store);
  EXPECT_EQ(db->count_types(), 1);
  ASSERT_EQ(db->count(kData), 2);
  EXPECT_EQ(text_of(store, db->load(kData, *db->indexed(kData, 1), false)), "two");
}

TEST_F(DatabaseNative, TypeCountsLargerThanTheMapAreRefused) {
  Bytes b = file_bytes(path);
  store_u32be(&b[256 + 34], 0x10000000);
  put_file(path, b);
  EXPECT_EQ(open_error(path), 1);
}

TEST(DatabaseCharset, MacintoshLettersBecomeWindowsOnes) {
  EXPECT_EQ(mac_to_windows(0x8e), 0xe9);  // é
  EXPECT_EQ(mac_to_windows(0x80), 0xc4);  // Ä
  EXPECT_EQ(mac_to_windows('A'), 'A');
  EXPECT_TRUE(is_text_type(FourCC::of("Txt1")));
  EXPECT_TRUE(is_text_type(FourCC::of("Prm ")));
  EXPECT_FALSE(is_text_type(FourCC::of("text")));
}

TEST(DatabaseSetTest, UniqueIdsStartAtZeroAndSkipUsedOnes) {
  DbTempDir dir;
  std::string path = dir.file("u.db");
  create_database_file(path, FourCC::of("ORVN"), FourCC::of("DBSE"));
  MemoryHandleStore store;
  DatabaseSet set(store, fixed_clock);
  std::uint32_t id = set.open(path, DbOpenMode::read_write);
  EXPECT_EQ(set.unique_id(kData, {id}), 0);
  EXPECT_EQ(set.unique_id(kData, {id}), 1);
  Database& db = set.require(id);
  add_text(db, store, "TEXT", 0, "");
  add_text(db, store, "TEXT", 1, "");
  EXPECT_EQ(set.unique_id(kText, {0, id}), 2);
  std::uint32_t h = db.find(kText, 1)->handle;
  EXPECT_EQ(set.owner(h).first, id);
  set.close(id, false, true);
  EXPECT_THROW(set.require(id), DatabaseError);
  EXPECT_THROW(set.owner(h), DatabaseError);
  EXPECT_EQ(stored(path, "TEXT", 1), "");
}

}  // namespace
}  // namespace orvane::testing
