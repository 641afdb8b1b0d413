// The lookup index beside the symbol table: symbols land exactly where the
// table's own probe puts them, and are found again, under heavy clustering.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime.h"
#include "core/symbols.h"
#include "support/eval_helpers.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class SymbolLookupTest : public EvalTest {
 protected:
  // The table's probe, step by step: the entry holding name, or the first
  // empty entry from its home.
  static std::uint32_t walked_probe(std::string_view name) {
    std::uint32_t i = symbol_hash(name, g_mem.symbol_count);
    for (;;) {
      const SymbolEntry& e = symbol_entry_at(i);
      if (e.name.bits == 0 || symbol_name(symbol_at(i)) == name) return i;
      if (++i == g_mem.symbol_count) i = 0;
    }
  }

  // Every used entry is where the walked probe finds its name.
  static ::testing::AssertionResult every_symbol_in_its_probed_place() {
    std::uint32_t used = 0;
    for (std::uint32_t i = 0; i < g_mem.symbol_count; ++i) {
      if (symbol_entry_at(i).name.bits == 0) continue;
      ++used;
      std::string name(symbol_name(symbol_at(i)));
      if (walked_probe(name) != i) return ::testing::AssertionFailure() << name << " is not at its probed entry";
      if (find_symbol(name) != symbol_at(i)) return ::testing::AssertionFailure() << name << " is not found";
    }
    if (used != g_mem.symbol_count - g_mem.symbols_free)
      return ::testing::AssertionFailure() << "the free count disagrees with the table";
    return ::testing::AssertionSuccess();
  }
};

TEST_F(SymbolLookupTest, NamesDifferingOnlyAtTheEndLandWhereTheProbePutsThem) {
  // "fn-0" ... "fn-3999" share a few hundred home entries under the doubling
  // sum: one long run. Each new name goes to the first empty entry from home.
  std::vector<Value> made;
  for (int i = 0; i < 4000; ++i) {
    std::string name = "fn-" + std::to_string(i);
    ASSERT_EQ(find_symbol(name), kNil);
    std::uint32_t expected = walked_probe(name);
    Value s = intern(name, make_fixnum(i));
    ASSERT_EQ(symbol_index(s), expected) << name;
    made.push_back(s);
  }
  for (int i = 0; i < 4000; ++i) {
    std::string name = "fn-" + std::to_string(i);
    EXPECT_EQ(intern(name), made[static_cast<std::size_t>(i)]) << name;
    EXPECT_EQ(symbol_global(made[static_cast<std::size_t>(i)]), make_fixnum(i));
    EXPECT_EQ(symbol_name(made[static_cast<std::size_t>(i)]), name);
  }
  // Absent neighbours are absent, and prefixes of present names are not them.
  EXPECT_EQ(find_symbol("fn-4000"), kNil);
  EXPECT_EQ(find_symbol("fn-"), kNil);
  EXPECT_EQ(find_symbol("fn-39999"), kNil);
  EXPECT_TRUE(every_symbol_in_its_probed_place());
}

TEST_F(SymbolLookupTest, LongNamesWithACommonPrefixStayDistinct) {
  std::string prefix(600, 'x');
  std::vector<Value> made;
  for (char last = '!'; last <= '~'; ++last) made.push_back(intern(prefix + last));
  // A name one character longer or shorter is another symbol.
  Value shorter = intern(prefix);
  Value longer = intern(prefix + "!!");
  for (std::size_t k = 0; k < made.size(); ++k) {
    std::string name = prefix + static_cast<char>('!' + k);
    EXPECT_EQ(find_symbol(name), made[k]);
    EXPECT_NE(made[k], shorter);
    EXPECT_NE(made[k], longer);
    EXPECT_EQ(symbol_name(made[k]).size(), 601u);
  }
  EXPECT_TRUE(every_symbol_in_its_probed_place());
}

TEST_F(SymbolLookupTest, NamesAreByteStringsWithCaseKept) {
  Value lower = intern("zz-sym");
  Value upper = intern("ZZ-SYM");
  Value accented = intern("zz-sym\xe9");
  EXPECT_NE(lower, upper);
  EXPECT_NE(lower, accented);
  EXPECT_EQ(find_symbol("ZZ-SYM"), upper);
  EXPECT_EQ(find_symbol("zz-sym\xe9"), accented);
  EXPECT_EQ(find_symbol("Zz-sym"), kNil);
}

TEST_F(SymbolLookupTest, AClusteredTableFillsToTheEndAndKeepsItsOrder) {
  std::uint32_t made = 0;
  for (int i = 0; g_mem.symbols_free > 1; ++i, ++made) intern("v-" + std::to_string(i));
  EXPECT_TRUE(every_symbol_in_its_probed_place());
  // The last empty entry still ends every lookup of an absent name.
  EXPECT_EQ(find_symbol("v-absent"), kNil);
  EXPECT_EQ(find_symbol("v-" + std::to_string(made)), kNil);
  EXPECT_EQ(find_symbol("v-0"), intern("v-0"));
}

TEST_F(SymbolLookupTest, ANewRunTimeStartsFromItsOwnTable) {
  for (int i = 0; i < 500; ++i) intern("old-" + std::to_string(i));
  Value old_symbol = find_symbol("old-7");
  ASSERT_NE(old_symbol, kNil);
  runtime_.reset();
  runtime_ = std::make_unique<Runtime>(small_config(), register_all_modules);
  EXPECT_EQ(find_symbol("old-7"), kNil);
  // The new table's entries are placed and found by its own contents.
  for (int i = 0; i < 500; ++i) {
    std::string name = "new-" + std::to_string(i);
    std::uint32_t expected = walked_probe(name);
    EXPECT_EQ(symbol_index(intern(name)), expected);
  }
  EXPECT_TRUE(every_symbol_in_its_probed_place());
}

TEST_F(SymbolLookupTest, ATableOfAnotherSizeIsFollowed) {
  for (int i = 0; i < 300; ++i) intern("a-" + std::to_string(i));
  runtime_.reset();
  MemoryConfig bigger = small_config();
  bigger.symbols = 12007;
  runtime_ = std::make_unique<Runtime>(bigger, register_all_modules);
  ASSERT_EQ(g_mem.symbol_count, 12007u);
  for (int i = 0; i < 3000; ++i) intern("b-" + std::to_string(i));
  EXPECT_TRUE(every_symbol_in_its_probed_place());
}

}  // namespace
}  // namespace orvane
