#include "platform/byte_writer.h"

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

TEST(ByteReader, ReadsTheLittleEndianFieldsToo) {
  std::vector<std::uint8_t> data = {0x34, 0x12, 0xfe, 0xff, 0xff, 0xff};
  ByteReader r(data);
  EXPECT_EQ(r.u16le(), 0x1234);
  EXPECT_EQ(r.s32le(), -2);
  EXPECT_TRUE(r.ok());
}

TEST(ByteReader, AReadPastTheEndFailsForGood) {
  std::vector<std::uint8_t> data = {1, 2, 3};
  ByteReader r(data);
  r.u8();
  EXPECT_EQ(r.u32be(), 0u);
  EXPECT_FALSE(r.ok());
  // Nothing remains after a failure, so a loop over what remains ends.
  EXPECT_EQ(r.remaining(), 0u);
  // Later reads fail too, even those that would have fitted before.
  EXPECT_EQ(r.u8(), 0u);
  EXPECT_TRUE(r.bytes(1).empty());
  EXPECT_FALSE(r.has(0));
  EXPECT_FALSE(r.seek(0));
  EXPECT_FALSE(r.ok());
}

TEST(ByteReader, SeeksInsideTheDataOnly) {
  std::vector<std::uint8_t> data = {1, 2, 3};
  EXPECT_TRUE(ByteReader(data).seek(3));
  ByteReader r(data);
  EXPECT_FALSE(r.seek(4));
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(ByteReader(data, 4).ok());
  ByteReader at_end(data, 3);
  EXPECT_TRUE(at_end.ok());
  EXPECT_EQ(at_end.u8(), 0u);
  EXPECT_FALSE(at_end.ok());
}

TEST(ByteReader, AReadThatFailsTakesNothing) {
  // A field cut by the end answers zero, never the bytes that were there.
  std::vector<std::uint8_t> data = {0xff, 0xff, 0xff};
  ByteReader r(data, 1);
  EXPECT_EQ(r.u32be(), 0u);
  EXPECT_EQ(ByteReader(data, 2).u16le(), 0u);
  EXPECT_TRUE(ByteReader(data).bytes(4).empty());
}

TEST(ByteReader, AlignsToEvenOffsets) {
  std::vector<std::uint8_t> data = {1, 2, 3, 4};
  ByteReader r(data);
  EXPECT_TRUE(r.align_even());
  EXPECT_EQ(r.position(), 0u);
  r.u8();
  EXPECT_TRUE(r.align_even());
  EXPECT_EQ(r.u8(), 3u);
  r.u8();
  EXPECT_TRUE(r.align_even());
  EXPECT_TRUE(r.ok());
  std::vector<std::uint8_t> odd = {1};
  ByteReader o(odd);
  o.u8();
  EXPECT_FALSE(o.align_even());  // the padding byte is missing
}

TEST(ByteReader, CountedStringsStopAtTheData) {
  std::vector<std::uint8_t> ok = {3, 'a', 'b', 'c', 5, 'x'};
  ByteReader r(ok);
  EXPECT_EQ(r.counted_string(), "abc");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.counted_string(), "");
  EXPECT_FALSE(r.ok());
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
