// The bytes written by creation, adding, updating, removing, renaming and
// compacting, compared with files built field by field from the format's
// rules.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/file_io.h"
#include "storage/resource_file.h"
#include "storage/resource_manager.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

using namespace rsrc;

class GoldenTest : public ::testing::Test {
 protected:
  // Opens file bytes in memory under a fixed name.
  int open(const Bytes& bytes) {
    return manager.open_storage("Golden.RI", std::make_unique<MemoryFile>(bytes));
  }
  const Bytes& bytes(int refnum) { return dynamic_cast<MemoryFile&>(manager.file(refnum)->storage()).bytes(); }
  std::uint32_t handle_with(std::string_view data) {
    std::uint32_t h = store.create();
    set_data(h, data);
    return h;
  }
  void set_data(std::uint32_t h, std::string_view data) {
    store.resize(h, static_cast<std::uint32_t>(data.size()));
    std::memcpy(store.bytes(h).data(), data.data(), data.size());
  }
  std::string data_of(std::uint32_t h) {
    auto b = store.bytes(h);
    return std::string(b.begin(), b.end());
  }

  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager manager{store, refs};
};

FileParts parts(Bytes data, const ByteWriter& map) { return {"Golden.RI", "rsrc", "ORVN", std::move(data), map.data()}; }

Bytes empty_file() {
  ByteWriter map;
  map_head(map, 0, 28, 30);
  map.u16be(0xffff);
  return build_file(parts({}, map));
}

// TEXT 128 "hello" = "abc".
Bytes one_resource_file() {
  ByteWriter data, map;
  block(data, "abc");
  map_head(map, 0, 28, 50);
  map.u16be(0);
  type_entry(map, "TEXT", 1, 10);
  ref_entry(map, 128, 0, 0, 0);
  counted(map, "hello");
  return build_file(parts(data.data(), map));
}

TEST_F(GoldenTest, AnEmptyFileIs286BytesAndOpensWithNoTypes) {
  Bytes image = ResourceFile::empty_file_image("Golden.RI", FourCC::of("ORVN"), FourCC::of("rsrc"));
  EXPECT_EQ(image.size(), 286u);
  EXPECT_EQ(image, empty_file());
  int ref = open(image);
  ASSERT_GT(ref, 0);
  EXPECT_EQ(manager.count1_types(), 0);
}

TEST_F(GoldenTest, CreationWritesTheEmptyFileAndRefusesAnExistingOne) {
  TempDir dir;
  std::string path = dir.file("Golden.RI");
  EXPECT_EQ(manager.create_file(path, FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::none);
  EXPECT_EQ(read_bytes(path), empty_file());
  EXPECT_EQ(manager.create_file(path, FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::exists);
  EXPECT_EQ(read_bytes(path), empty_file());
  EXPECT_FALSE(platform::file_exists(path + "-new"));
  // A long base name keeps its first 33 characters.
  std::string long_name(40, 'n');
  EXPECT_EQ(manager.create_file(dir.file(long_name), FourCC::of("ORVN"), FourCC::of("rsrc")), ResError::none);
  Bytes made = read_bytes(dir.file(long_name));
  EXPECT_EQ(made[48], 33);
  EXPECT_EQ(std::string(made.begin() + 49, made.begin() + 82), std::string(33, 'n'));
}

TEST_F(GoldenTest, AddingAResourceAndUpdating) {
  int ref = open(empty_file());
  manager.add(handle_with("abc"), FourCC::of("TEXT"), 128, "hello");
  ASSERT_EQ(manager.last_error(), ResError::none);
  manager.update(ref);
  ASSERT_EQ(manager.last_error(), ResError::none);
  EXPECT_EQ(bytes(ref), one_resource_file());
}

TEST_F(GoldenTest, GrowingRemovingRenamingAndRewriting) {
  int ref = open(one_resource_file());
  std::uint32_t pict = handle_with("zz");
  std::uint32_t text = handle_with("q");
  manager.add(pict, FourCC::of("PICT"), 1, "");
  manager.add(text, FourCC::of("TEXT"), 129, "");
  manager.update(ref);
  ASSERT_EQ(manager.last_error(), ResError::none);
  {
    ByteWriter data, map;
    block(data, "abc");
    block(data, "q");
    block(data, "zz");
    map_head(map, 0, 28, 82);
    map.u16be(1);
    type_entry(map, "TEXT", 2, 18);
    type_entry(map, "PICT", 1, 42);
    ref_entry(map, 128, 0, 0, 0);
    ref_entry(map, 129, kNoName, 0, 7);
    ref_entry(map, 1, kNoName, 0, 12);
    counted(map, "hello");
    EXPECT_EQ(bytes(ref), build_file(parts(data.data(), map)));
  }

  // Removing leaves an unused slot in memory, and the type, until the
  // update compacts the map.
  std::uint32_t old = manager.get(FourCC::of("TEXT"), 128);
  manager.remove(old);
  ASSERT_EQ(manager.last_error(), ResError::none);
  EXPECT_EQ(manager.count1_types(), 2);
  EXPECT_EQ(manager.count1(FourCC::of("TEXT")), 1);
  EXPECT_EQ(manager.file(ref)->map().map_length(), 88u);
  manager.update(ref);
  Bytes data_area;
  {
    ByteWriter data, map;
    block(data, "abc");
    block(data, "q");
    block(data, "zz");
    data_area = data.data();
    map_head(map, 0, 28, 70);
    map.u16be(1);
    type_entry(map, "TEXT", 1, 18);
    type_entry(map, "PICT", 1, 30);
    ref_entry(map, 129, kNoName, 0, 7);
    ref_entry(map, 1, kNoName, 0, 12);
    EXPECT_EQ(bytes(ref), build_file(parts(data_area, map)));
  }

  // A name where there was none goes at the end of the map.
  manager.set_info(text, 130, "x");
  manager.update(ref);
  {
    ByteWriter map;
    map_head(map, 0, 28, 70);
    map.u16be(1);
    type_entry(map, "TEXT", 1, 18);
    type_entry(map, "PICT", 1, 30);
    ref_entry(map, 130, 0, 0, 7);
    ref_entry(map, 1, kNoName, 0, 12);
    counted(map, "x");
    EXPECT_EQ(bytes(ref), build_file(parts(data_area, map)));
  }

  // Shrunk data stays in its block; grown data moves to the end of the
  // data area.
  set_data(text, "");
  set_data(pict, "wxyz");
  manager.changed(text);
  manager.changed(pict);
  manager.update(ref);
  {
    ByteWriter data, map;
    block(data, "abc");
    data.u32be(0);
    data.text("q");
    block(data, "zz");
    block(data, "wxyz");
    map_head(map, 0, 28, 70);
    map.u16be(1);
    type_entry(map, "TEXT", 1, 18);
    type_entry(map, "PICT", 1, 30);
    ref_entry(map, 130, 0, 0, 7);
    ref_entry(map, 1, kNoName, 0, 18);
    counted(map, "x");
    EXPECT_EQ(bytes(ref), build_file(parts(data.data(), map)));
  }

  // And the file reads back as written.
  Bytes final_bytes = bytes(ref);
  manager.close(ref);
  ASSERT_EQ(manager.last_error(), ResError::none);
  int again = open(final_bytes);
  ASSERT_GT(again, 0);
  EXPECT_EQ(data_of(manager.get(FourCC::of("TEXT"), 130)), "");
  EXPECT_EQ(data_of(manager.get(FourCC::of("PICT"), 1)), "wxyz");
  EXPECT_EQ(data_of(manager.get_named(FourCC::of("TEXT"), "x")), "");
  EXPECT_EQ(manager.get(FourCC::of("TEXT"), 128), 0u);
}

TEST_F(GoldenTest, AnAddedTypeFollowsTheLastTypesList) {
  int ref = open(empty_file());
  manager.add(handle_with("1"), FourCC::of("AAAA"), 1, "one");
  manager.add(handle_with("2"), FourCC::of("AAAA"), 2, "");
  manager.add(handle_with("3"), FourCC::of("BBBB"), 3, "three");
  // In memory, before any update: the map as the growth rules leave it.
  ByteWriter want;
  want.u32be(256);
  want.u32be(256);
  want.u32be(0);
  want.u32be(16 + 12 + 2 + 16 + 36 + 4 + 6);
  map_head(want, kMapChanged, 28, 82);
  want.u16be(1);
  type_entry(want, "AAAA", 2, 18);
  type_entry(want, "BBBB", 1, 42);
  const auto& map = manager.file(ref)->map();
  std::uint32_t h1 = map.handle(28 + 18), h2 = map.handle(28 + 30), h3 = map.handle(28 + 42);
  ref_entry(want, 1, 0, kResChanged, kNoData);
  ref_entry(want, 2, kNoName, kResChanged, kNoData);
  ref_entry(want, 3, 4, kResChanged, kNoData);
  counted(want, "one");
  counted(want, "three");
  Bytes got = map.file_image();
  EXPECT_EQ(got, want.data());
  EXPECT_NE(h1, 0u);
  EXPECT_NE(h2, 0u);
  EXPECT_NE(h3, 0u);
}

TEST_F(GoldenTest, WritingOneResourceOverwritesTheOldMapUntilTheUpdate) {
  int ref = open(one_resource_file());
  std::uint32_t h = manager.get(FourCC::of("TEXT"), 128);
  set_data(h, "longer");
  manager.changed(h);
  manager.write(h);
  ASSERT_EQ(manager.last_error(), ResError::none);
  // The data went where the map was; the header still names the old map.
  const Bytes& now = bytes(ref);
  EXPECT_EQ(load_u32be(now.data() + 4), 263u);
  EXPECT_EQ(Bytes(now.begin() + 263, now.begin() + 273), (Bytes{0, 0, 0, 6, 'l', 'o', 'n', 'g', 'e', 'r'}));
  EXPECT_TRUE(manager.file(ref)->awaiting_map());
  manager.update(ref);
  ByteWriter data, map;
  block(data, "abc");
  block(data, "longer");
  map_head(map, 0, 28, 50);
  map.u16be(0);
  type_entry(map, "TEXT", 1, 10);
  ref_entry(map, 128, 0, 0, 7);
  counted(map, "hello");
  EXPECT_EQ(bytes(ref), build_file(parts(data.data(), map)));
}

TEST_F(GoldenTest, ARenameIntoAShorterNameReusesTheOldName) {
  int ref = open(one_resource_file());
  std::uint32_t h = manager.get(FourCC::of("TEXT"), 128);
  manager.set_info(h, 7, "hi");
  manager.update(ref);
  ByteWriter data, map;
  block(data, "abc");
  map_head(map, 0, 28, 50);
  map.u16be(0);
  type_entry(map, "TEXT", 1, 10);
  ref_entry(map, 7, 0, 0, 0);
  map.u8(2);
  map.text("hillo");  // the old name's last characters stay
  EXPECT_EQ(bytes(ref), build_file(parts(data.data(), map)));
}

}  // namespace
}  // namespace orvane::testing
