// The resource manager's searches, counts, ids and edits across files.
#include <gtest/gtest.h>

#include <cstring>

#include "storage/resource_manager.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

using namespace rsrc;

struct Res {
  std::string type;
  std::int16_t id;
  std::string name;
  std::string data;
  std::uint8_t attrs = 0;
};

// A file holding the resources, one type entry per run of equal types.
Bytes file_of(const std::vector<Res>& resources) {
  ByteWriter data, names;
  std::vector<std::pair<std::string, std::vector<const Res*>>> types;
  for (const Res& r : resources) {
    if (types.empty() || types.back().first != r.type) types.push_back({r.type, {}});
    types.back().second.push_back(&r);
  }
  ByteWriter list;
  std::uint32_t offset = 2 + 8 * static_cast<std::uint32_t>(types.size());
  ByteWriter type_list;
  type_list.u16be(static_cast<std::uint16_t>(types.size() - 1));
  for (auto& [type, members] : types) {
    type_entry(type_list, type, static_cast<int>(members.size()), static_cast<std::uint16_t>(offset));
    for (const Res* r : members) {
      std::uint16_t name = kNoName;
      if (!r->name.empty()) {
        name = static_cast<std::uint16_t>(names.size());
        counted(names, r->name);
      }
      ref_entry(list, r->id, name, r->attrs, static_cast<std::uint32_t>(data.size()));
      block(data, r->data);
      offset += 12;
    }
  }
  ByteWriter map;
  map_head(map, 0, 28, static_cast<std::uint16_t>(28 + type_list.size() + list.size()));
  map.bytes(type_list.data());
  map.bytes(list.data());
  map.bytes(names.data());
  return build_file({"T.RI", "rsrc", "ORVN", data.data(), map.data()});
}

class ManagerTest : public ::testing::Test {
 protected:
  int open(std::string_view name, const std::vector<Res>& rs) {
    return manager.open_storage(name, std::make_unique<MemoryFile>(file_of(rs)));
  }
  std::string data(std::uint32_t h) {
    auto b = store.bytes(h);
    return std::string(b.begin(), b.end());
  }
  std::uint32_t handle_with(std::string_view d) {
    std::uint32_t h = store.create();
    store.resize(h, static_cast<std::uint32_t>(d.size()));
    if (!d.empty()) std::memcpy(store.bytes(h).data(), d.data(), d.size());
    return h;
  }
  ResError err() const { return manager.last_error(); }

  const FourCC TEXT = FourCC::of("TEXT"), PICT = FourCC::of("PICT");
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager manager{store, refs};
};

TEST_F(ManagerTest, SearchesGoFromTheCurrentFileToOlderFiles) {
  int older = open("older", {{"TEXT", 1, "a", "old one"}, {"TEXT", 2, "", "old two"}});
  int newer = open("newer", {{"TEXT", 1, "a", "new one"}});
  EXPECT_EQ(data(manager.get(TEXT, 1)), "new one");
  EXPECT_EQ(data(manager.get(TEXT, 2)), "old two");
  EXPECT_EQ(data(manager.get_named(TEXT, "a")), "new one");
  EXPECT_EQ(manager.get1(TEXT, 2), 0u);
  EXPECT_EQ(err(), ResError::not_found);
  manager.use(older);
  EXPECT_EQ(data(manager.get(TEXT, 1)), "old one");
  EXPECT_EQ(manager.home_file(manager.get(TEXT, 1)), older);
  (void)newer;
}

TEST_F(ManagerTest, WithNoCurrentFileOnlyIndexedSearchesAndCountsSeeTheFiles) {
  open("a", {{"TEXT", 1, "", "x"}, {"PICT", 5, "", "p"}});
  open("b", {{"TEXT", 2, "", "y"}});
  manager.use(0);
  EXPECT_EQ(manager.get(TEXT, 1), 0u);
  EXPECT_EQ(err(), ResError::not_found);
  EXPECT_EQ(manager.count(TEXT), 2);
  EXPECT_EQ(data(manager.get_indexed(TEXT, 1)), "y");  // the newest file first
  EXPECT_EQ(data(manager.get_indexed(TEXT, 2)), "x");
  EXPECT_EQ(manager.count1_types(), 0);
}

TEST_F(ManagerTest, IndexedSearchesBelowOneAndPastTheCount) {
  open("a", {{"TEXT", 1, "", "x"}});
  EXPECT_EQ(manager.get_indexed(TEXT, 0), 0u);
  EXPECT_EQ(err(), ResError::none);
  EXPECT_EQ(manager.get_indexed(TEXT, manager.count(TEXT) + 1), 0u);
  EXPECT_EQ(err(), ResError::not_found);
  EXPECT_EQ(manager.get1_indexed(TEXT, 1) != 0, true);
  EXPECT_EQ(manager.get1_indexed_type(1), TEXT);
  EXPECT_FALSE(manager.get1_indexed_type(0));
  EXPECT_FALSE(manager.get1_indexed_type(2));
}

TEST_F(ManagerTest, TheTypeCountFollowsOpensClosesAddsAndRemoves) {
  int a = open("a", {{"TEXT", 1, "", "x"}});
  EXPECT_EQ(manager.count(TEXT), 1);
  int b = open("b", {{"TEXT", 2, "", "y"}, {"TEXT", 3, "", "z"}});
  EXPECT_EQ(manager.count(TEXT), 3);
  manager.add(handle_with("w"), TEXT, 4, "");
  EXPECT_EQ(manager.count(TEXT), 4);
  manager.remove(manager.get(TEXT, 2));
  EXPECT_EQ(manager.count(TEXT), 3);
  manager.close(b);
  EXPECT_EQ(manager.count(TEXT), 1);
  manager.close(a);
  EXPECT_EQ(manager.count(TEXT), 0);
}

TEST_F(ManagerTest, UniqueIdsStartAt128AndSkipUsedIds) {
  open("a", {{"TEXT", 128, "", ""}, {"TEXT", 130, "", ""}});
  EXPECT_EQ(manager.unique_id(PICT), 128);
  EXPECT_EQ(manager.unique_id(PICT), 129);
  EXPECT_EQ(manager.unique_id(TEXT), 129);
  EXPECT_EQ(manager.unique_id(TEXT), 131);
  EXPECT_EQ(manager.unique_id(PICT), 128);
}

TEST_F(ManagerTest, TheLoadFlagOnlyStopsRereadingPurgedData) {
  open("a", {{"TEXT", 1, "", "abc"}, {"TEXT", 2, "", "def"}});
  manager.set_load_flag(false);
  std::uint32_t h = manager.get(TEXT, 1);
  EXPECT_EQ(data(h), "abc");  // first load despite the flag
  store.purge(h);
  EXPECT_EQ(manager.get(TEXT, 1), h);
  EXPECT_EQ(data(h), "");
  manager.set_load_flag(true);
  manager.load(h);
  EXPECT_EQ(data(h), "abc");
}

TEST_F(ManagerTest, SizesComeFromTheHandleOrTheFile) {
  open("a", {{"TEXT", 1, "", "abcd"}});
  std::uint32_t h = manager.get(TEXT, 1);
  EXPECT_EQ(manager.size_of(h), 4);
  store.purge(h);
  EXPECT_EQ(manager.size_of(h), 4);  // the length stored in the file
  std::uint32_t fresh = handle_with("");
  manager.add(fresh, TEXT, 2, "");
  EXPECT_EQ(manager.size_of(fresh), -1);  // no data in the file yet
  store.resize(fresh, 9);
  EXPECT_EQ(manager.size_of(fresh), 9);
  EXPECT_EQ(manager.size_of(12345), -1);
  EXPECT_EQ(err(), ResError::not_found);
}

TEST_F(ManagerTest, AddingIsRefusedWithoutAFileOrForAResource) {
  std::uint32_t h = handle_with("x");
  manager.add(h, TEXT, 1, "");
  EXPECT_EQ(err(), ResError::add_failed);
  open("a", {{"TEXT", 1, "", "x"}});
  manager.add(0, TEXT, 5, "");
  EXPECT_EQ(err(), ResError::add_failed);
  manager.add(manager.get(TEXT, 1), TEXT, 6, "");
  EXPECT_EQ(err(), ResError::add_failed);
  manager.add(h, TEXT, 7, "");
  EXPECT_EQ(err(), ResError::none);
  EXPECT_EQ(manager.get(TEXT, 7), h);
}

TEST_F(ManagerTest, RemovingNeedsTheCurrentFileAndAnUnprotectedResource) {
  int older = open("a", {{"TEXT", 1, "", "x"}, {"TEXT", 2, "", "p", kResProtected}});
  open("b", {{"PICT", 1, "", "y"}});
  manager.remove(manager.get(TEXT, 1));
  EXPECT_EQ(err(), ResError::remove_failed);
  manager.use(older);
  manager.remove(manager.get(TEXT, 2));
  EXPECT_EQ(err(), ResError::remove_failed);
  std::uint32_t h = manager.get(TEXT, 1);
  manager.remove(h);
  EXPECT_EQ(err(), ResError::none);
  EXPECT_TRUE(store.is_live(h));  // the handle is the caller's now
  EXPECT_FALSE(manager.owns(h));
}

TEST_F(ManagerTest, ProtectedResourcesKeepTheirIdAndName) {
  open("a", {{"TEXT", 1, "keep", "x", kResProtected}});
  std::uint32_t h = manager.get(TEXT, 1);
  manager.set_info(h, 9, "other");
  EXPECT_EQ(err(), ResError::none);
  auto info = manager.info(h);
  EXPECT_EQ(info->id, 1);
  EXPECT_EQ(info->name, "keep");
}

TEST_F(ManagerTest, AnEmptiedTypeStaysUntilCompaction) {
  int ref = open("a", {{"TEXT", 1, "", "x"}, {"PICT", 1, "", "y"}});
  manager.remove(manager.get(TEXT, 1));
  EXPECT_EQ(manager.count1_types(), 2);
  EXPECT_EQ(manager.count1(TEXT), 0);
  manager.update(ref);
  EXPECT_EQ(manager.count1_types(), 1);
  EXPECT_EQ(manager.get1_indexed_type(1), PICT);
}

TEST_F(ManagerTest, ReleasingAndDetachingHandles) {
  open("a", {{"TEXT", 1, "", "x"}});
  std::uint32_t h = manager.get(TEXT, 1);
  manager.detach(h);
  EXPECT_TRUE(store.is_live(h));
  EXPECT_FALSE(manager.owns(h));
  std::uint32_t again = manager.get(TEXT, 1);
  EXPECT_NE(again, h);
  manager.release(again);
  EXPECT_FALSE(store.is_live(again));
  manager.release(again);
  EXPECT_EQ(err(), ResError::not_found);
}

TEST_F(ManagerTest, ClosingDisposesOfTheFilesHandles) {
  int ref = open("a", {{"TEXT", 1, "", "x"}});
  std::uint32_t h = manager.get(TEXT, 1);
  manager.close(ref);
  EXPECT_FALSE(store.is_live(h));
}

TEST_F(ManagerTest, ReadOnlyFilesAreNeverWritten) {
  int ref = open("a", {{"TEXT", 1, "", "x"}});
  Bytes before = dynamic_cast<MemoryFile&>(manager.file(ref)->storage()).bytes();
  manager.set_file_attrs(ref, kMapReadOnly);
  std::uint32_t h = manager.get(TEXT, 1);
  store.resize(h, 30);
  manager.changed(h);
  manager.write(h);
  EXPECT_EQ(err(), ResError::none);
  manager.update(ref);
  EXPECT_EQ(err(), ResError::none);
  EXPECT_EQ(dynamic_cast<MemoryFile&>(manager.file(ref)->storage()).bytes(), before);
  EXPECT_EQ(manager.file_attrs(0), 0);
  EXPECT_EQ(manager.file_attrs(77), 0);
  EXPECT_EQ(err(), ResError::no_file);
}

TEST_F(ManagerTest, StringListsPatternsAndStrings) {
  ByteWriter list;
  list.u16be(3);
  counted(list, "one");
  counted(list, "");
  counted(list, "three");
  std::string str_list(list.data().begin(), list.data().end());
  ByteWriter pats;
  pats.u16be(2);
  for (int i = 0; i < 16; ++i) pats.u8(static_cast<std::uint8_t>(i));
  std::string pat_list(pats.data().begin(), pats.data().end());
  open("a", {{"STR#", 7, "", str_list}, {"PAT#", 3, "", pat_list}, {"STR ", 5, "", std::string("\x02hi", 3)}});

  EXPECT_EQ(manager.indexed_string(7, 1), "one");
  EXPECT_EQ(manager.indexed_string(7, 2), "");
  EXPECT_EQ(manager.indexed_string(7, 3), "three");
  EXPECT_FALSE(manager.indexed_string(7, 0));
  EXPECT_FALSE(manager.indexed_string(7, 4));
  EXPECT_FALSE(manager.indexed_string(8, 1));
  EXPECT_EQ(manager.string_resource(5), "hi");

  EXPECT_EQ(manager.indexed_pattern(0, 1), (Pattern{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}));
  EXPECT_EQ(manager.indexed_pattern(0, 4), (Pattern{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}));
  EXPECT_EQ(manager.indexed_pattern(0, 20), Pattern{});
  EXPECT_FALSE(manager.indexed_pattern(0, 2));
  EXPECT_EQ(manager.indexed_pattern(3, 2), (Pattern{8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_FALSE(manager.indexed_pattern(3, 3));
  EXPECT_FALSE(manager.indexed_pattern(3, 0));
}

TEST_F(ManagerTest, AHandleDisposedBehindTheManagersBackIsForgotten) {
  open("a", {{"TEXT", 1, "", "x"}});
  std::uint32_t h = manager.get(TEXT, 1);
  store.dispose(h);
  EXPECT_FALSE(manager.owns(h));
  std::uint32_t again = manager.get(TEXT, 1);
  EXPECT_NE(again, 0u);
  EXPECT_EQ(data(again), "x");
}

}  // namespace
}  // namespace orvane::testing
