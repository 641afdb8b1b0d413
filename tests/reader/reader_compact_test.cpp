// The compact byte encoding: symbol references through the compact symbol
// table, small integers and logic variables.
#include <string>
#include <vector>

#include "core/symbols.h"
#include "reader_fixture.h"

namespace orvane {
namespace {

using testing::sym;

// A start-up symbol list: a big-endian count, then zero-terminated names.
std::vector<std::uint8_t> symbol_list(const std::vector<std::string>& names) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(names.size() >> 8),
                                     static_cast<std::uint8_t>(names.size() & 0xff)};
  for (const auto& name : names) {
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
  }
  return bytes;
}

std::string bytes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s.push_back(static_cast<char>(c));
  return s;
}

class ReaderCompact : public testing::ReaderTest {
 protected:
  void load(const std::vector<std::string>& names) {
    auto list = symbol_list(names);
    load_symbol_list(list.data(), list.size());
  }
};

TEST_F(ReaderCompact, OneByteReferencesNameTheFixedEntries) {
  EXPECT_EQ(read1(bytes({0})), sym("define"));
  EXPECT_EQ(read1(bytes({3})), sym("t"));
  EXPECT_EQ(read1(bytes({7})), sym("let"));
  load({"alpha"});
  EXPECT_EQ(read1(bytes({1})), sym("quote"));
}

TEST_F(ReaderCompact, TwoAndThreeByteReferences) {
  std::vector<std::string> names;
  for (int i = 0; i < 600; ++i) names.push_back("name" + std::to_string(i));
  names[0] = ":first";
  load(names);
  // Entry (b0 - 15) * 256 + b1 + 8.
  EXPECT_EQ(read1(bytes({15, 0})), sym(":first"));
  EXPECT_EQ(read1(bytes({15, 5})), sym("name5"));
  EXPECT_EQ(read1(bytes({17, 3})), sym("name515"));
  // Entry b1 * 256 + b2.
  EXPECT_EQ(read1(bytes({8, 0, 9})), sym("name1"));
  EXPECT_EQ(read1(bytes({8, 2, 0})), sym("name504"));
  // A keyword from the list is bound to itself.
  EXPECT_EQ(symbol_global(sym(":first")), sym(":first"));
}

TEST_F(ReaderCompact, SmallIntegers) {
  EXPECT_EQ(read1(bytes({11, 5})), make_fixnum(5));
  EXPECT_EQ(read1(bytes({11, 0xff})), make_fixnum(-1));
  EXPECT_EQ(read1(bytes({11, 0x80})), make_fixnum(-128));
  EXPECT_EQ(read1(bytes({12, 0x12, 0x34})), make_fixnum(0x1234));
  EXPECT_EQ(read1(bytes({12, 0xff, 0xfe})), make_fixnum(-2));
  EXPECT_EQ(read1(bytes({12, 0x80, 0x00})), make_fixnum(-32768));
}

TEST_F(ReaderCompact, LogicVariablesAreNewEachTime) {
  load({"x"});
  Value v = read1(bytes({14, 0, 8}));
  ASSERT_TRUE(is_variable(v));
  EXPECT_EQ(car(v), make_fixnum(0));
  EXPECT_EQ(cdr(v), sym("x"));
  Value pair = read1(bytes({'(', 14, 0, 8, 14, 0, 8, ')'}));
  EXPECT_NE(car(pair), car(cdr(pair)));
  EXPECT_TRUE(same(car(pair), car(cdr(pair))));
}

TEST_F(ReaderCompact, CompactTokensMixWithText) {
  load({"foo", "bar"});
  // (define foo 300) with define and foo as references and 300 as two bytes.
  Value form = read1(bytes({'(', 0, 15, 0, 12, 1, 44, ')'}));
  EXPECT_TRUE(same(form, testing::list({sym("define"), sym("foo"), make_fixnum(300)})));
  // Each routine leaves the next byte current: no separator is needed.
  Value packed = read1(bytes({'(', 15, 1, 11, 7, 3, ')'}));
  EXPECT_TRUE(same(packed, testing::list({sym("bar"), make_fixnum(7), sym("t")})));
}

TEST_F(ReaderCompact, ReferencesOutsideTheTableAreErrors) {
  EXPECT_EQ(read_error(bytes({15, 0})), 2);
  EXPECT_EQ(culprit_text(), "8");
  load({"only"});
  EXPECT_EQ(read_error(bytes({15, 1})), 2);
  EXPECT_EQ(read_error(bytes({8, 0xff, 0xff})), 2);
  EXPECT_EQ(read_error(bytes({14, 1, 0})), 2);
  release_symbol_list();
  EXPECT_EQ(read_error(bytes({8, 0, 8})), 2);
}

TEST_F(ReaderCompact, InputEndingInsideATokenIsAnError) {
  EXPECT_EQ(read_error(bytes({11})), 25);
  EXPECT_EQ(read_error(bytes({12, 1})), 25);
  EXPECT_EQ(read_error(bytes({8, 0})), 25);
  EXPECT_EQ(read_error(bytes({14})), 25);
  EXPECT_EQ(read_error(bytes({15})), 25);
}

}  // namespace
}  // namespace orvane
