#include "storage/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

TEST(ByteReader, ReadsBigEndianFields) {
  std::vector<std::uint8_t> data = {0x12, 0x34, 0xff, 0xfe, 0x01, 0x02, 0x03, 0x80, 0, 0, 1};
  ByteReader r(data);
  EXPECT_EQ(r.u16be(), 0x1234);
  EXPECT_EQ(r.s16be(), -2);
  EXPECT_EQ(r.u24be(), 0x010203u);
  EXPECT_EQ(r.s32be(), static_cast<std::int32_t>(0x80000001u));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteReader, AReadPastTheEndFailsAndStaysPut) {
  std::vector<std::uint8_t> data = {1, 2, 3};
  ByteReader r(data);
  r.u8();
  EXPECT_EQ(r.u32be(), 0u);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.position(), 1u);
  EXPECT_TRUE(r.bytes(5).empty());
  EXPECT_FALSE(r.seek(4));
  EXPECT_TRUE(ByteReader(data).seek(3));
}

TEST(ByteReader, CountedStringsStopAtTheData) {
  std::vector<std::uint8_t> ok = {3, 'a', 'b', 'c', 5, 'x'};
  ByteReader r(ok);
  EXPECT_EQ(r.counted_string(), "abc");
  EXPECT_EQ(r.counted_string(), "");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.position(), 4u);
}

TEST(ByteWriter, WritesBigEndianAndPatches) {
  ByteWriter w;
  w.u16be(0xabcd);
  w.u24be(0x010203);
  w.u32be(0);
  w.patch_u32be(5, 0xdeadbeef);
  w.patch_u32be(6, 1);  // out of range: ignored
  std::vector<std::uint8_t> want = {0xab, 0xcd, 1, 2, 3, 0xde, 0xad, 0xbe, 0xef};
  EXPECT_EQ(w.data(), want);
}

}  // namespace
}  // namespace orvane
