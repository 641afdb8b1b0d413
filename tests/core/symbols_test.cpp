// The symbol table, keywords, registration and the compact symbol table.
#include <gtest/gtest.h>

#include "core/primitives.h"
#include "core/symbols.h"
#include "support/eval_helpers.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class SymbolsTest : public EvalTest {};

TEST_F(SymbolsTest, InterningTwiceAnswersTheSameSymbolAndKeepsItsValue) {
  Value a = intern("zebra", make_fixnum(1));
  Value b = intern("zebra", make_fixnum(2));
  EXPECT_EQ(a, b);
  EXPECT_EQ(symbol_global(a), make_fixnum(1));
  EXPECT_EQ(symbol_name(a), "zebra");
  EXPECT_EQ(intern_constant("zebra"), a);
}

TEST_F(SymbolsTest, RegisteringUnderABoundNameKeepsTheEarlierBinding) {
  Value before = symbol_global(intern("car-like"));
  set_symbol_global(intern("car-like"), make_fixnum(5));
  defprim("car-like", +[](Value v) { return v; });
  EXPECT_EQ(symbol_global(intern("car-like")), make_fixnum(5));
  (void)before;
}

TEST_F(SymbolsTest, FindSymbolNeverCreates) {
  std::uint32_t free_before = g_mem.symbols_free;
  EXPECT_EQ(find_symbol("surely-not-a-symbol-yet"), kNil);
  EXPECT_EQ(g_mem.symbols_free, free_before);
  EXPECT_EQ(run(list({sym("find-symbol"), make_string("eval")})), sym("eval"));
}

TEST_F(SymbolsTest, HashIsTheDoublingSum) {
  EXPECT_EQ(symbol_hash("a", 1000), 97u);
  EXPECT_EQ(symbol_hash("ab", 1000), (2u * 97 + 98) % 1000);
}

TEST_F(SymbolsTest, ProbingWrapsFromTheLastEntry) {
  // Find a name whose home entry is the last one and check it is still found.
  std::uint32_t last = g_mem.symbol_count - 1;
  std::string name;
  std::uint32_t seed = 12345;
  auto random_name = [&](char first) {
    std::string n(1, first);
    for (int k = 0; k < 10; ++k) {
      seed = seed * 1103515245u + 12345u;
      n += static_cast<char>('a' + (seed >> 16) % 26);
    }
    return n;
  };
  for (int i = 0; i < 1000000 && name.empty(); ++i) {
    std::string candidate = random_name('w');
    if (symbol_hash(candidate, g_mem.symbol_count) == last && find_symbol(candidate) == kNil) name = candidate;
  }
  ASSERT_FALSE(name.empty());
  // Occupy the last entry first so that the name must continue at entry 0.
  std::string blocker;
  for (int i = 0; i < 1000000 && blocker.empty(); ++i) {
    std::string candidate = random_name('v');
    if (symbol_hash(candidate, g_mem.symbol_count) == last && candidate != name) blocker = candidate;
  }
  if (symbol_entry_at(last).name.bits == 0) intern(blocker);
  Value s = intern(name);
  EXPECT_LT(symbol_index(s), last);
  EXPECT_EQ(find_symbol(name), s);
}

TEST_F(SymbolsTest, AFullTableIsRefusedInOrder) {
  defprim("t-intern", +[](Value v) { return intern(std::to_string(integer_of(v)) + "-new"); });
  Value form = list({sym("t-intern"), num(1)});
  Value filler0 = intern("filler0");
  for (int i = 1; g_mem.symbols_free > 1; ++i) intern("filler" + std::to_string(i));
  EXPECT_EQ(error_of(form), 9);
  // Existing symbols are still found and lookups of absent names still end.
  EXPECT_EQ(find_symbol("filler0"), filler0);
  EXPECT_EQ(find_symbol("still-absent"), kNil);
}

TEST_F(SymbolsTest, KeywordsAreBoundToThemselvesAndTwinsAreCached) {
  Value k = intern_keyword("size");
  EXPECT_EQ(symbol_name(k), ":size");
  EXPECT_EQ(symbol_global(k), k);
  Value s = intern("size");
  EXPECT_EQ(keyword_of(s), k);
  EXPECT_EQ(symbol_entry(s).keyword_twin, static_cast<std::int16_t>(symbol_index(k)));
  EXPECT_EQ(keyword_of(s), k);
}

TEST_F(SymbolsTest, StartUpSymbolListFillsTheCompactTable) {
  const char bytes[] = "\x00\x02:name\0other";
  load_symbol_list(reinterpret_cast<const std::uint8_t*>(bytes), sizeof bytes - 1);
  ASSERT_TRUE(has_compact_symbol_table());
  const auto& table = compact_symbol_table();
  ASSERT_EQ(table.size(), 10u);
  EXPECT_EQ(table[3], g_sym.t);
  EXPECT_EQ(table[0], intern("define"));
  EXPECT_EQ(table[8], intern(":name"));
  EXPECT_EQ(symbol_global(table[8]), table[8]);
  EXPECT_EQ(symbol_name(table[9]), "other");
  release_symbol_list();
  EXPECT_FALSE(has_compact_symbol_table());
}

TEST_F(SymbolsTest, SymbolValueAndBound) {
  EXPECT_EQ(error_of(list({sym("symbol->value"), quoted(sym("nope"))})), 6);
  EXPECT_EQ(run(list({sym("set"), quoted(sym("nope")), num(3)})), num(3));
  EXPECT_EQ(run(list({sym("symbol->value"), quoted(sym("nope"))})), num(3));
  EXPECT_EQ(run(list({sym("bound?"), quoted(sym("nope"))})), g_sym.t);
  EXPECT_EQ(run(list({sym("unbound?"), quoted(sym("nope2"))})), g_sym.t);
  EXPECT_EQ(error_of(list({sym("bound?"), num(1)})), 2);
}

}  // namespace
}  // namespace orvane
