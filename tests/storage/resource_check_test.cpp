// The full check: each problem found once, at its byte offset, with the
// right severity, and agreement with the run-time's own open.
#include "storage/resource_check.h"

#include <gtest/gtest.h>

#include "storage_support.h"

namespace orvane::testing {
namespace {

using namespace rsrc;

// TEXT 1 = "abc", TEXT 2 (no data), TEXT 1 again.
Bytes checked_file(std::int16_t third_id = 3) {
  ByteWriter data, map;
  block(data, "abc");
  map_head(map, 0, 28, 28 + 2 + 8 + 36);
  map.u16be(0);
  type_entry(map, "TEXT", 3, 10);
  ref_entry(map, 1, kNoName, 0, 0);
  ref_entry(map, 2, kNoName, 0, kNoData);
  ref_entry(map, third_id, kNoName, 0, 0);
  return build_file({"C.RI", "rsrc", "ORVN", data.data(), map.data()});
}

const Finding* find(const CheckReport& r, std::uint64_t offset, Severity s) {
  for (const Finding& f : r.findings)
    if (f.offset == offset && f.severity == s) return &f;
  return nullptr;
}

TEST(ResourceCheck, ACleanFileHasOnlyWhatIsWorthKnowing) {
  CheckReport r = check_resource_file(checked_file());
  EXPECT_TRUE(r.runtime_accepts);
  EXPECT_FALSE(r.has_errors());
  EXPECT_EQ(r.types, 1u);
  EXPECT_EQ(r.resources, 3u);
  std::uint64_t map = 256 + 7;
  // TEXT 2 has no data; TEXT 3 shares TEXT 1's block.
  EXPECT_TRUE(find(r, map + 38 + 12 + 5, Severity::warning));
  EXPECT_TRUE(find(r, 256, Severity::note));
}

TEST(ResourceCheck, DuplicateIdsAndDamagedHeaders) {
  Bytes b = checked_file(1);
  std::uint64_t map = 256 + 7;
  CheckReport dup = check_resource_file(b);
  EXPECT_TRUE(find(dup, map + 38 + 24, Severity::warning));

  b[map + 5] ^= 1;  // the header copy
  CheckReport copy = check_resource_file(b);
  EXPECT_FALSE(copy.runtime_accepts);
  EXPECT_TRUE(find(copy, map, Severity::error));

  Bytes cut = checked_file();
  cut.resize(cut.size() - 4);
  CheckReport short_map = check_resource_file(cut);
  EXPECT_FALSE(short_map.runtime_accepts);
  EXPECT_TRUE(find(short_map, 12, Severity::error));

  EXPECT_TRUE(check_resource_file(Bytes(10, 0)).has_errors());
}

TEST(ResourceCheck, EveryFindingLiesInsideTheFile) {
  Bytes b = checked_file();
  for (std::size_t i = 0; i < b.size(); i += 3) {
    Bytes damaged = b;
    damaged[i] ^= 0xa5;
    CheckReport r = check_resource_file(damaged);
    for (const Finding& f : r.findings) EXPECT_LE(f.offset, damaged.size()) << f.message;
    // Whatever the run-time refuses, the check calls an error.
    if (!r.runtime_accepts) {
      EXPECT_TRUE(r.has_errors()) << "byte " << i;
    }
  }
}

}  // namespace
}  // namespace orvane::testing
