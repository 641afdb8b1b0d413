// Opening: the header and map checks, the chain of open files and the
// current file.
#include <gtest/gtest.h>

#include <cstring>

#include <random>

#include "storage/resource_check.h"
#include "storage/resource_file.h"
#include "storage/resource_manager.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

using namespace rsrc;

// TEXT 128 "hello" = "abc", PICT 1 = "zz".
Bytes sample_file() {
  ByteWriter data, map;
  block(data, "abc");
  block(data, "zz");
  map_head(map, 0, 28, 70);
  map.u16be(1);
  type_entry(map, "TEXT", 1, 18);
  type_entry(map, "PICT", 1, 30);
  ref_entry(map, 128, 0, 0, 0);
  ref_entry(map, 1, kNoName, 0, 7);
  counted(map, "hello");
  return build_file({"Sample.RI", "rsrc", "ORVN", data.data(), map.data()});
}

ResError open_bytes(Bytes b, OpenOptions options = {}) {
  std::unique_ptr<ResourceFile> f;
  return ResourceFile::open(std::make_unique<MemoryFile>(std::move(b)), options, f);
}

TEST(ResourceOpen, AcceptsAWellFormedFile) { EXPECT_EQ(open_bytes(sample_file()), ResError::none); }

TEST(ResourceOpen, RefusesBadHeaders) {
  Bytes b = sample_file();
  b[128] = 1;
  EXPECT_EQ(open_bytes(b), ResError::bad_file);
  EXPECT_EQ(open_bytes(b, {.strict = false}), ResError::none);

  b = sample_file();
  store_u32be(b.data(), 300);  // data offset not 256
  EXPECT_EQ(open_bytes(b), ResError::bad_file);

  b = sample_file();
  b.push_back(0);  // the map no longer ends the file
  EXPECT_EQ(open_bytes(b), ResError::bad_file);
  EXPECT_EQ(open_bytes(b, {.strict = false}), ResError::none);

  b = sample_file();
  b.pop_back();
  EXPECT_EQ(open_bytes(b), ResError::bad_file);

  b = sample_file();
  store_u32be(b.data() + 8, 0x80000000u);  // negative data length
  EXPECT_EQ(open_bytes(b), ResError::bad_file);

  b = sample_file();
  store_u32be(b.data() + 4, 100);  // map inside the header
  EXPECT_EQ(open_bytes(b), ResError::bad_file);

  EXPECT_EQ(open_bytes(Bytes(100, 0)), ResError::io);
}

TEST(ResourceOpen, ADifferentHeaderCopyIsAReadError) {
  Bytes b = sample_file();
  std::uint32_t map = load_u32be(b.data() + 4);
  b[map + 11] ^= 1;
  EXPECT_EQ(open_bytes(b), ResError::io);
  // Classic Macintosh forks often hold zeros there; the tools accept them.
  std::memset(b.data() + map, 0, 16);
  EXPECT_EQ(open_bytes(b, {.strict = false}), ResError::none);
}

TEST(ResourceOpen, RefusesMapsThatPointOutsideThemselves) {
  const Bytes good = sample_file();
  const std::uint32_t map = load_u32be(good.data() + 4);
  auto patched = [&](std::uint32_t at, std::uint16_t v) {
    Bytes b = good;
    store_u16be(b.data() + map + at, v);
    return b;
  };
  EXPECT_EQ(open_bytes(patched(24, 2000)), ResError::bad_file);       // type list
  EXPECT_EQ(open_bytes(patched(26, 2000)), ResError::bad_file);       // name list
  EXPECT_EQ(open_bytes(patched(28, 300)), ResError::bad_file);        // type count
  EXPECT_EQ(open_bytes(patched(28, 0xfffe)), ResError::bad_file);     // negative count
  EXPECT_EQ(open_bytes(patched(30 + 6, 60)), ResError::bad_file);     // a list past the name list
  EXPECT_EQ(open_bytes(patched(30 + 6, 2)), ResError::bad_file);      // a list inside the type list
  EXPECT_EQ(open_bytes(patched(30 + 4, 5)), ResError::bad_file);      // a count past the map
  EXPECT_EQ(open_bytes(patched(46 + 2, 40)), ResError::bad_file);     // a name past the map
}

TEST(ResourceOpen, ClearsTheMapChangedBitsAndForgetsHandleWords) {
  Bytes b = sample_file();
  std::uint32_t map = load_u32be(b.data() + 4);
  store_u16be(b.data() + map + 22, 0x60 | 0x01);
  store_u32be(b.data() + map + 46 + 8, 0x12345678);
  std::unique_ptr<ResourceFile> f;
  ASSERT_EQ(ResourceFile::open(std::make_unique<MemoryFile>(b), {}, f), ResError::none);
  EXPECT_EQ(f->map().attributes(), 0x01);
  EXPECT_EQ(f->map().handle(46), 0u);
}

TEST(ResourceOpen, ReadsDataOnlyInsideTheDataArea) {
  Bytes b = sample_file();
  std::uint32_t map = load_u32be(b.data() + 4);
  store_u32be(b.data() + 256, 50);  // TEXT's length word runs into the map
  std::unique_ptr<ResourceFile> f;
  ASSERT_EQ(ResourceFile::open(std::make_unique<MemoryFile>(b), {}, f), ResError::none);
  ResError err = ResError::none;
  EXPECT_FALSE(f->read_data(46, &err));
  EXPECT_EQ(err, ResError::io);
  EXPECT_EQ(f->stored_length(0, &err), -1);
  EXPECT_EQ(*f->read_data(58), text_bytes("zz"));
  (void)map;
}

// Damaged files either open and read within their bytes, or are refused;
// whatever opens can be compacted and written back as a valid file.
TEST(ResourceOpen, DamagedFilesAreRefusedOrReadSafely) {
  const Bytes good = sample_file();
  std::mt19937 rng(7);
  int opened = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    Bytes b = good;
    for (int k = 0, n = 1 + static_cast<int>(rng() % 4); k < n; ++k) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
    if (trial % 10 == 0) b.resize(rng() % b.size());
    check_resource_file(b);
    for (bool strict : {true, false}) {
      std::unique_ptr<ResourceFile> f;
      if (ResourceFile::open(std::make_unique<MemoryFile>(b), {.strict = strict}, f) != ResError::none) continue;
      ++opened;
      f->map().for_each_entry([&](int, EntryPos e) {
        f->read_data(e);
        (void)f->map().name(e);
      });
      ResourceMap copy = f->map();
      copy.compact();
      ResourceMap reparsed;
      EXPECT_EQ(ResourceMap::parse(copy.file_image(), reparsed), ResError::none) << "trial " << trial;
    }
  }
  EXPECT_GT(opened, 100);
}

class ChainTest : public ::testing::Test {
 protected:
  int open(std::string_view name, Bytes b) { return manager.open_storage(name, std::make_unique<MemoryFile>(std::move(b))); }
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager manager{store, refs};
};

TEST_F(ChainTest, OpeningTheSamePathInAnyCaseAnswersTheSameFile) {
  int a = open("Dir/Title.RI", sample_file());
  ASSERT_GT(a, 0);
  EXPECT_EQ(open("dir/TITLE.ri", sample_file()), a);
  EXPECT_EQ(manager.open_files().size(), 1u);
  EXPECT_EQ(manager.find_open("DIR/title.RI"), a);
  EXPECT_EQ(manager.find_open("Dir/Other.RI"), 0);
}

TEST_F(ChainTest, AFailedOpenLeavesNoTrace) {
  Bytes bad = sample_file();
  bad[128] = 7;
  EXPECT_EQ(open("bad", bad), -1);
  EXPECT_EQ(manager.last_error(), ResError::bad_file);
  EXPECT_TRUE(manager.open_files().empty());
  EXPECT_EQ(manager.current_file(), 0);
  // No reference number is held: the next file gets the first one.
  EXPECT_EQ(open("good", sample_file()), 1);
}

TEST_F(ChainTest, ANewerFileComesFirstAndClosingMakesTheOlderCurrent) {
  int older = open("a", sample_file());
  int newer = open("b", sample_file());
  EXPECT_EQ(manager.current_file(), newer);
  EXPECT_EQ(manager.open_files(), (std::vector<int>{newer, older}));
  manager.use(older);
  EXPECT_EQ(manager.current_file(), older);
  manager.use(99);
  EXPECT_EQ(manager.last_error(), ResError::no_file);
  EXPECT_EQ(manager.current_file(), older);
  manager.use(newer);
  manager.close(newer);
  EXPECT_EQ(manager.current_file(), older);
  manager.close(older);
  EXPECT_EQ(manager.current_file(), 0);
  manager.close(older);
  EXPECT_EQ(manager.last_error(), ResError::no_file);
}

TEST_F(ChainTest, ReferenceNumbersGoRoundRobin) {
  int a = open("a", sample_file());
  int b = open("b", sample_file());
  manager.close(a);
  int c = open("c", sample_file());
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
}

TEST_F(ChainTest, PreloadedResourcesHaveTheirDataAfterOpening) {
  Bytes b = sample_file();
  std::uint32_t map = load_u32be(b.data() + 4);
  b[map + 46 + 4] = kResPreload | kResPurgeable;
  int ref = open("p", b);
  ASSERT_GT(ref, 0);
  std::uint32_t h = manager.file(ref)->map().handle(46);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(store.size(h), 3u);
  EXPECT_EQ(manager.file(ref)->map().handle(58), 0u);
}

}  // namespace
}  // namespace orvane::testing
