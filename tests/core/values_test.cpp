// The Value word, integer boxing, indirects and the equality predicates.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "core/equality.h"
#include "core/memory.h"
#include "core/native_objects.h"
#include "core/symbols.h"
#include "support/eval_helpers.h"

namespace orvane {
namespace {

using namespace orvane::testing;
using ValuesTest = EvalTest;

TEST_F(ValuesTest, CarAndCdrOfNilAreNil) {
  EXPECT_EQ(car(kNil), kNil);
  EXPECT_EQ(cdr(kNil), kNil);
}

TEST_F(ValuesTest, IntegerBoxingAtTheRangeEdges) {
  EXPECT_EQ(make_integer(8388606).tag(), tag::integer);
  EXPECT_EQ(make_integer(8388607).tag(), tag::long_int);
  EXPECT_EQ(make_integer(-8388607).tag(), tag::integer);
  EXPECT_EQ(make_integer(-8388608).tag(), tag::long_int);
  for (std::int64_t x : {0ll, 1ll, -1ll, 8388606ll, 8388607ll, -8388607ll, -8388608ll, 2147483647ll, -2147483648ll})
    EXPECT_EQ(integer_of(make_integer(x)), x);
  EXPECT_EQ(type_of(make_integer(8388606)), sym("integer"));
  EXPECT_EQ(type_of(make_integer(8388607)), sym("long"));
  // Arithmetic wraps at 32 bits.
  EXPECT_EQ(integer_of(make_integer(2147483648ll)), -2147483647 - 1);
}

TEST_F(ValuesTest, IntegerOfAnythingElseIsError2) {
  EXPECT_EQ(error_of(list({sym("repeat"), make_string("x")})), 2);
}

TEST_F(ValuesTest, CommittingAStringAdvancesByItsEvenSize) {
  g_mem.gc_stress = false;  // a collection before the commit would move the pointer
  std::uint32_t before = g_mem.heap_alloc;
  make_string("abc");  // 3 + 1 bytes
  EXPECT_EQ(g_mem.heap_alloc - before, 4u);
  before = g_mem.heap_alloc;
  make_string("abcd");  // 4 + 1, rounded up to 6
  EXPECT_EQ(g_mem.heap_alloc - before, 6u);
}

TEST_F(ValuesTest, IndirectsKeepTheirContents) {
  Value s = make_string("hello");
  Value r = make_real(2.5);
  Value l = make_integer(100000000);
  EXPECT_EQ(string_view_of(s), "hello");
  EXPECT_EQ(real_of(r), 2.5);
  EXPECT_EQ(double_of(l), 100000000.0);
  EXPECT_EQ(double_of(num(-3)), -3.0);
  EXPECT_EQ(error_of(list({sym("t-double"), sym("t")})), 6);
}

Value make_vector_of(std::initializer_list<Value> items) {
  auto n = static_cast<std::uint16_t>(items.size());
  std::uint8_t* p = reserve_indirect(2 + 4 * n);
  std::memcpy(p, &n, 2);
  if (n > 0) std::memcpy(p + 2, items.begin(), 4u * n);
  return commit_indirect(2 + 4 * n, tag::vector, header::vector);
}

TEST_F(ValuesTest, EqvAndEqualOnVectors) {
  Value e1 = make_vector_of({}), e2 = make_vector_of({});
  EXPECT_TRUE(eqv(e1, e2));
  Value a = make_vector_of({num(1)}), b = make_vector_of({num(1)});
  EXPECT_FALSE(eqv(a, b));
  EXPECT_TRUE(equal(a, b));
  Value s1 = make_vector_of({make_string("x")}), s2 = make_vector_of({make_string("x")});
  EXPECT_FALSE(equal(s1, s2));  // elements compare by identity
}

TEST_F(ValuesTest, EqualAcrossSymbolsStringsAndNumbers) {
  EXPECT_TRUE(equal(sym("abc"), make_string("abc")));
  EXPECT_TRUE(equal(make_string("abc"), sym("abc")));
  EXPECT_FALSE(equal(sym("abc"), sym("abd")));
  EXPECT_FALSE(equal(make_string("abc"), make_string("ABC")));
  EXPECT_TRUE(equal(num(1), make_real(1.0)));
  EXPECT_TRUE(equal(make_real(1.0), num(1)));
  EXPECT_FALSE(equal(num(1), num(2)));
  EXPECT_TRUE(equal(make_integer(90000000), make_integer(90000000)));
  EXPECT_TRUE(equal(list({num(1), list({make_string("a")})}), list({num(1), list({make_string("a")})})));
  EXPECT_FALSE(equal(list({num(1)}), list({num(1), num(2)})));
  EXPECT_TRUE(eqv(make_real(0.5), make_real(0.5)));
}

TEST_F(ValuesTest, TypePredicates) {
  EXPECT_EQ(run(list({sym("not"), list({sym("void")})})), kNil);
  EXPECT_EQ(run(list({sym("not"), kNil})), g_sym.t);
  EXPECT_EQ(type_of(kNoObject), kNoObject);
  EXPECT_EQ(error_of(list({sym("type-of"), quoted(Value::make(tag::slot_entry, 8))})), 2);
  EXPECT_TRUE(type_p(make_string("x"), g_sym.t));
  EXPECT_TRUE(type_p(num(3), sym("integer")));
  EXPECT_FALSE(type_p(num(3), sym("string")));
  EXPECT_EQ(type_of(kNil), sym("list"));
  EXPECT_EQ(type_of(symbol_global(sym("if"))), sym("keyword"));
  EXPECT_EQ(run(list({sym("procedure?"), sym("eval")})), g_sym.t);
  EXPECT_EQ(run(list({sym("boolean?"), g_sym.t})), g_sym.t);
  EXPECT_EQ(run(list({sym("boolean?"), num(0)})), kNil);
}

struct Probe : NativeObject {
  int* destroyed;
  explicit Probe(int* d) : destroyed(d) {}
  ~Probe() override { ++*destroyed; }
};

TEST_F(ValuesTest, NativeObjectIdsDetectStaleAndForgedIds) {
  int destroyed = 0;
  std::uint32_t id = g_native_objects.add(std::make_unique<Probe>(&destroyed));
  ASSERT_NE(id, 0u);
  EXPECT_NE(g_native_objects.find(id), nullptr);
  EXPECT_EQ(g_native_objects.find(id ^ 0x00100000u), nullptr);  // other generation
  EXPECT_EQ(g_native_objects.find(0), nullptr);
  g_native_objects.release(id);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(g_native_objects.find(id), nullptr);
  std::uint32_t reused = g_native_objects.add(std::make_unique<Probe>(&destroyed));
  EXPECT_NE(reused, id);
  EXPECT_EQ(g_native_objects.find(id), nullptr);
  auto probe = std::make_unique<Probe>(&destroyed);
  const Probe* made = probe.get();
  Value p = make_native_pointer(std::move(probe), PointerKind::region);
  EXPECT_EQ(&native_object_of(p, PointerKind::region), made);
  Value forged = make_pointer(0x12345, PointerKind::region);
  set_symbol_global(sym("forged"), forged);
  set_symbol_global(sym("region"), p);
  set_symbol_global(sym("as-address"), make_pointer(pointer_address(p), PointerKind::pointer));
  defprim("t-native", +[](Value v) -> Value {
    native_object_of(v, PointerKind::region);
    return kNil;
  });
  EXPECT_EQ(error_of(list({sym("t-native"), sym("region")})), -1);
  EXPECT_EQ(error_of(list({sym("t-native"), sym("forged")})), 2);
  // The id of a live object as a plain address names nothing.
  EXPECT_EQ(error_of(list({sym("t-native"), sym("as-address")})), 2);
}

}  // namespace
}  // namespace orvane
