// Permanent structures: protect, and stores into permanent nodes.
#include <gtest/gtest.h>

#include <array>

#include "collector/gc_test_support.h"
#include "core/symbols.h"
#include "lib/vectors.h"

namespace orvane {
namespace {

using namespace orvane::testing;

using ProtectTest = CollectorTest;

bool permanent(Value v) { return (node_of(v).w0 & kPermanentBit) != 0; }

[[gnu::noinline]] void make_garbage_strings(int n) {
  for (int i = 0; i < n; ++i) make_string("garbage that reuses freed space");
}

// (define (name) (quote datum))
Value define_returning(std::string_view name, Value datum) {
  return list({sym("define"), list({sym(name)}), quoted(datum)});
}

TEST_F(ProtectTest, ADefinitionMakesItsWholeClosurePermanent) {
  Value datum = list({sym("a"), make_string("text"), make_real(1.5), num(100'000'000)});
  run(define_returning("f", datum));
  Value fn = symbol_global(intern("f"));
  ASSERT_EQ(fn.tag(), tag::function);
  EXPECT_TRUE(permanent(fn));
  for (Value l = datum; is_pair(l); l = cdr(l)) {
    EXPECT_TRUE(permanent(l));
    if (!is_symbol(car(l))) {
      EXPECT_TRUE(permanent(car(l)));
    }
  }
  make_garbage_strings(50);
  collect_clean();
  make_garbage_strings(50);
  EXPECT_EQ(text(car(cdr(run(list({sym("f")}))))), "text");
}

TEST_F(ProtectTest, AQuotedVectorInABodyIsRefusedAndNothingStaysPermanent) {
  Value body_list = list({sym("list"), num(1), num(2)});
  Value vector = make_vector(std::array{num(1)}.data(), 1);
  Value form = list({sym("define"), list({sym("g")}), body_list, quoted(vector)});
  EXPECT_EQ(error_of(form), 0);
  EXPECT_NE(last_alert().find("bad type in protect fonction"), std::string::npos) << last_alert();
  EXPECT_EQ(symbol_global(intern("g")), kNoValue);
  for (Value l = cdr(cdr(form)); is_pair(l); l = cdr(l)) EXPECT_FALSE(permanent(l));
  for (Value l = body_list; is_pair(l); l = cdr(l)) EXPECT_FALSE(permanent(l));
}

TEST_F(ProtectTest, ObjectsOfEveryRefusedKindAreRefused) {
  Value refused[] = {make_vector(std::array{kNil}.data(), 0), make_hash_table(),
                     make_pointer(0, PointerKind::pointer)};
  for (Value v : refused) {
    Value holder = list({num(1), v});
    EXPECT_ANY_THROW(protect(holder)) << "tag " << v.tag();
    EXPECT_FALSE(permanent(holder));
  }
}

TEST_F(ProtectTest, CircularAndDeeplyNestedStructuresAreProtected) {
  Value ring = list({num(1), num(2)});
  set_cdr(cdr(ring), ring);
  protect(ring);
  EXPECT_TRUE(permanent(ring));
  EXPECT_TRUE(permanent(cdr(ring)));

  Value deep = kNil;
  for (int i = 0; i < 100000; ++i) deep = cons(deep, kNil);
  protect(deep);
  int n = 0;
  for (Value v = deep; is_pair(v); v = car(v), ++n) ASSERT_TRUE(permanent(v));
  EXPECT_EQ(n, 100000);
}

TEST_F(ProtectTest, ValuesWithoutNodesAreLeftAlone) {
  for (Value v : {kNil, kNoValue, num(5), sym("x"), kAbsent}) EXPECT_NO_THROW(protect(v));
}

// --- Stores into permanent nodes ----------------------------------------------------------

[[gnu::noinline]] void store_fresh_strings(Value quoted_list) {
  set_car(quoted_list, make_string("stored with set_car"));
  set_cdr(cdr(quoted_list), make_string("stored with set_cdr"));
}

TEST_F(ProtectTest, AValueStoredIntoAQuotedListOfADefinedFunctionSurvives) {
  run(define_returning("h", list({sym("a"), sym("b")})));
  Value quoted_list = run(list({sym("h")}));
  ASSERT_TRUE(permanent(quoted_list));
  store_fresh_strings(quoted_list);
  EXPECT_TRUE(permanent(quoted_list)) << "a store keeps the permanent bit";

  for (int round = 0; round < 3; ++round) {
    collect_clean();
    make_garbage_strings(200);
  }
  Value same = run(list({sym("h")}));
  EXPECT_EQ(text(car(same)), "stored with set_car");
  EXPECT_EQ(text(cdr(cdr(same))), "stored with set_cdr");
}

[[gnu::noinline]] void store_into_vector(Value vector) {
  store_value(indirect_data(vector) + 2, list({make_string("in a permanent vector")}));
  write_barrier(vector.payload());
}

TEST_F(ProtectTest, TheWriteBarrierKeepsWhatIsStoredIntoAPermanentIndirect) {
  // The object system may keep records permanent; its setters call the barrier.
  Value vector = make_vector(std::array{kNil}.data(), 1);
  node_of(vector).w0 |= kPermanentBit;
  store_into_vector(vector);
  for (int round = 0; round < 3; ++round) {
    collect_clean();
    make_garbage_strings(200);
  }
  EXPECT_EQ(text(car(load_value(indirect_data(vector) + 2))), "in a permanent vector");
}

[[gnu::noinline]] void store_into_a_dying_list() {
  Value l = list({num(1), num(2)});
  set_car(l, make_string("dies with the list"));
}

TEST_F(ProtectTest, StoresIntoOrdinaryNodesAreNotRemembered) {
  collect_clean();
  std::uint32_t free_before = g_mem.free_count;
  // Remembered stores would keep every list alive; the conservative stack
  // scan may keep a few (sanitizer builds leave more residue).
  for (int i = 0; i < 1000; ++i) store_into_a_dying_list();
  collect_clean();
  EXPECT_LE(free_before - g_mem.free_count, 64u);
}

}  // namespace
}  // namespace orvane
