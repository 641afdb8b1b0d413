// The printed form of every kind of Value, in the three styles.
#include "core/blocks.h"
#include "lib/real_text.h"
#include "printer_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class PrintedFormsTest : public PrinterTest {};

TEST_F(PrintedFormsTest, Numbers) {
  EXPECT_EQ(plain(num(0)), "0");
  EXPECT_EQ(plain(num(-42)), "-42");
  EXPECT_EQ(plain(num(kFixnumMax)), "8388606");
  EXPECT_EQ(plain(make_integer(8388607)), "8388607");
  EXPECT_EQ(data(make_integer(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(readable(make_real(2.0)), "2.0");
  EXPECT_EQ(plain(make_real(0.1)), "0.1");
  EXPECT_EQ(plain(make_real(-1.5)), "-1.5");
  EXPECT_EQ(data(make_real(1e20)), "1e+20");
  // An address word shows its payload as a signed number.
  EXPECT_EQ(plain(Value(0x00ffffffu)), "-1");
}

TEST_F(PrintedFormsTest, RealsUseTheDecimalMark) {
  g_decimal_mark = ',';
  EXPECT_EQ(plain(make_real(2.5)), "2,5");
  EXPECT_EQ(plain(make_real(3.0)), "3,0");
  g_decimal_mark = '.';
}

TEST_F(PrintedFormsTest, StringsInEachStyle) {
  Value s = str("a\"b");
  EXPECT_EQ(plain(s), "a\"b");
  EXPECT_EQ(readable(s), "\"a\\\"b\"");
  EXPECT_EQ(data(str("back\\slash")), "\"back\\\\slash\"");
  // Only the escape and string characters are escaped inside quotes.
  EXPECT_EQ(readable(str("(a b) #'x")), "\"(a b) #'x\"");
  EXPECT_EQ(readable(str("")), "\"\"");
}

TEST_F(PrintedFormsTest, SymbolsAreEscapedCharacterByCharacter) {
  EXPECT_EQ(plain(sym("a b")), "a b");
  EXPECT_EQ(readable(sym("a b")), "a\\ b");
  EXPECT_EQ(data(sym("f(x)")), "f\\(x\\)");
  EXPECT_EQ(readable(sym("#'q\"\\")), "\\#\\'q\\\"\\\\");
  // Dots, bars, digits, signs and ordinary symbol characters stay as they are.
  EXPECT_EQ(readable(sym("x.y|1+-e*<>")), "x.y|1+-e*<>");
  EXPECT_EQ(readable(sym("123")), "123");
  EXPECT_EQ(readable(intern_keyword("key")), ":key");
  EXPECT_EQ(readable(sym("a:b")), "a:b");
  EXPECT_EQ(readable(sym("a_b&c")), "a\\_b\\&c");
  EXPECT_EQ(readable(sym("tab\there")), "tab\\\there");
  EXPECT_EQ(readable(sym("caf\xe9")), "caf\xe9");
  EXPECT_EQ(readable(sym("")), "");
}

TEST_F(PrintedFormsTest, EscapingFollowsTheLiveTypeTable) {
  g_char_types['a'] = chartype::whitespace;
  g_char_types['('] = chartype::symbol;
  g_char_types['x'] = chartype::string;
  g_char_types['\\'] = chartype::symbol;
  EXPECT_EQ(readable(sym("ab(")), "\\ab(");
  EXPECT_EQ(readable(sym("x")), "\\x");
  EXPECT_EQ(readable(str("xa\\")), "\"\\xa\\\"");
  EXPECT_EQ(plain(sym("ab(")), "ab(");
}

TEST_F(PrintedFormsTest, LogicVariables) {
  EXPECT_EQ(plain(var("x")), "_x");
  EXPECT_EQ(plain(var("a b")), "_a b");
  EXPECT_EQ(readable(var("a b")), "_a\\ b");
  EXPECT_EQ(data(var("n")), "_n");
}

TEST_F(PrintedFormsTest, Lists) {
  EXPECT_EQ(plain(kNil), "()");
  EXPECT_EQ(plain(cons(num(1), num(2))), "(1 . 2)");
  EXPECT_EQ(plain(cons(num(1), cons(num(2), num(3)))), "(1 2 . 3)");
  Value nested = list({sym("a b"), list({str("s"), kNil}), num(3)});
  EXPECT_EQ(plain(nested), "(a b (s ()) 3)");
  EXPECT_EQ(readable(nested), "(a\\ b (\"s\" ()) 3)");
  EXPECT_EQ(data(nested), "(a\\ b (\"s\" ()) 3)");
  EXPECT_EQ(plain(quoted(sym("x"))), "(quote x)");
}

TEST_F(PrintedFormsTest, CircularListsAreCutShort) {
  Value l = list({num(1), num(2), num(3)});
  set_cdr(cdr(cdr(l)), l);
  std::string shown = plain(l);
  EXPECT_EQ(shown.rfind("(1 2 3 1", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 5), " ...)");
  Value self_loop = cons(num(7), kNil);
  set_cdr(self_loop, self_loop);
  EXPECT_EQ(plain(self_loop), "(7 ...)");
  // Data style cannot write it back: error 2.
  EXPECT_EQ(error_of(list({sym("write"), constant(self_loop)})), 2);
}

TEST_F(PrintedFormsTest, EndlessNestingEndsInAnError) {
  // A list that is its own first element, a vector that holds itself: the
  // recursion ends in error 9 instead of a host stack overflow.
  Value pair = cons(kNil, kNil);
  set_car(pair, pair);
  EXPECT_EQ(error_of(list({sym("prin"), constant(pair), constant(g_sym.t)})), 9) << last_alert();
  Value v = vector_of({num(1), num(2)});
  std::memcpy(indirect_data(v) + 6, &v, sizeof v);
  EXPECT_EQ(error_of(list({sym("display"), constant(v)})), 9) << last_alert();
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
}

TEST_F(PrintedFormsTest, VectorsAndArrays) {
  EXPECT_EQ(plain(vector_of({num(1), str("s"), sym("a b")})), "#(1 s a b)");
  EXPECT_EQ(readable(vector_of({num(1), str("s")})), "#(1 \"s\")");
  EXPECT_EQ(plain(vector_of({})), "#()");
  EXPECT_EQ(plain(array_of({3}, {num(1), num(2), num(3)})), "##(1 2 3)");
  // Storage order has the first index fastest; printing groups by it.
  Value a = array_of({2, 3}, {sym("a"), sym("d"), sym("b"), sym("e"), sym("c"), sym("f")});
  EXPECT_EQ(plain(a), "##((a b c) (d e f))");
  Value cube = array_of({2, 1, 2}, {num(0), num(1), num(2), num(3)});
  EXPECT_EQ(plain(cube), "##(((0 2)) ((1 3)))");
}

TEST_F(PrintedFormsTest, FunctionsAndForms) {
  EXPECT_EQ(plain(symbol_global(sym("princ"))), "#<primitive 2>");
  EXPECT_EQ(plain(symbol_global(sym("format"))), "#<primitive 0 *>");
  EXPECT_EQ(plain(symbol_global(sym("catch"))), "#<special>");
  EXPECT_EQ(plain(symbol_global(sym("quote"))), "#<keyword>");
  EXPECT_EQ(readable(symbol_global(sym("let"))), "#<keyword>");
  Value x = var("x");
  EXPECT_EQ(plain(run(list({sym("lambda"), list({x}), x}))), "#<function lambda>");
  EXPECT_EQ(plain(run(list({sym("syntax"), list({var("f")}), num(1)}))), "#<function syntax>");
  EXPECT_EQ(plain(Value::make(tag::lexical, cons(kNil, kNil).payload())), "#<lexical lambda>");
  EXPECT_EQ(plain(Value::make(tag::gamma, cons(kNil, kNil).payload())), "#<function gamma>");
  EXPECT_EQ(plain(Value::make(tag::closed, cons(kNil, kNil).payload())), "#<closed gamma>");
  EXPECT_EQ(plain(Value::make(tag::closed_syntax, cons(kNil, kNil).payload())), "#<closed syntax>");
  // A predicate: its first clause is (n . ((name . head) . body)).
  Value clause = cons(num(0), cons(cons(sym("likes"), kNil), kNil));
  Value predicate = Value::make(tag::predicate, cons(clause, kNil).payload());
  EXPECT_EQ(plain(predicate), "#<predicate likes>");
  EXPECT_EQ(error_of(list({sym("write"), constant(predicate)})), 2);
}

TEST_F(PrintedFormsTest, OtherObjects) {
  EXPECT_EQ(plain(kNoValue), "<no-value>");
  EXPECT_EQ(readable(kNoValue), "<no-value>");
  EXPECT_EQ(plain(kNoObject), "#<class ORVANE>");
  EXPECT_EQ(plain(objects::create_class(sym("obj-shown"), kNil, true)), "#<class obj-shown>");
  EXPECT_EQ(readable(objects::create_class(sym("shown-mixin"), kNil, false)), "#<mixin shown-mixin>");
  EXPECT_EQ(error_of(list({sym("write"), constant(kNoObject)})), 2);
  EXPECT_EQ(plain(Value::make(tag::hash_table, cons(kNil, kNil).payload())), "<hash-table>");
  Value invalid(0x01000005u);
  EXPECT_EQ(plain(invalid), std::to_string(0x01000005u));
  EXPECT_EQ(readable(invalid), "<invalid node 1000005>");
  EXPECT_EQ(readable(kAbsent), "<invalid node 1f000000>");
}

TEST_F(PrintedFormsTest, Pointers) {
  EXPECT_EQ(plain(make_pointer(0, PointerKind::handle)), "<null handle>");
  EXPECT_EQ(plain(make_pointer(0, PointerKind::drag_info)), "<null drag-info>");
  EXPECT_EQ(plain(make_pointer(0x1a2b, PointerKind::region)), "<region 1a2b>");
  EXPECT_EQ(readable(make_pointer(0xabc, PointerKind::cpp_object)), "<cpp object abc>");

  WorldAddress block = new_pointer(16);
  char expected[64];
  std::snprintf(expected, sizeof expected, "<memory pointer %x of size 16>", block);
  EXPECT_EQ(plain(make_pointer(block, PointerKind::memory_pointer)), expected);
  HandleId h = new_handle(12);
  std::snprintf(expected, sizeof expected, "<handle %x of size 12>", h);
  EXPECT_EQ(plain(make_handle_value(h)), expected);

  set_pointer_describer(PointerKind::process, [](Value p) {
    return "<process idle " + std::to_string(pointer_address(p)) + ">";
  });
  EXPECT_EQ(plain(make_pointer(9, PointerKind::process)), "<process idle 9>");
  EXPECT_EQ(plain(make_pointer(0, PointerKind::process)), "<null process>");
  set_pointer_describer(PointerKind::process, nullptr);
  EXPECT_EQ(plain(make_pointer(9, PointerKind::process)), "<process 9>");
}

TEST_F(PrintedFormsTest, DataStyleRejectsWhatCannotBeReadBack) {
  for (Value v : {kNoValue, vector_of({num(1)}), symbol_global(sym("princ")), make_pointer(4, PointerKind::file)}) {
    EXPECT_EQ(error_of(list({sym("write"), constant(v), constant(g_sym.t)})), 2);
  }
  // Text already written stays written.
  EXPECT_EQ(error_of(list({sym("write"), constant(list({num(1), kNoValue}))})), 2);
  EXPECT_EQ(culprit(), "<no-value>");
  EXPECT_EQ(terminal(), "(1 ");
}

TEST_F(PrintedFormsTest, TextOfValuesIsCutAt1024) {
  EXPECT_EQ(value_to_text(str("as is")), "as is");
  EXPECT_EQ(value_to_text(sym("a b")), "a b");
  EXPECT_EQ(value_to_text(list({num(1), str("x y")})), "(1 x y)");
  Value big = kNil;
  for (int i = 0; i < 400; ++i) big = cons(num(100000 + i), big);
  std::string text = value_to_text(big);
  EXPECT_EQ(text.size(), kStringBufferSize);
  EXPECT_EQ(text, plain(big).substr(0, kStringBufferSize));
  // A string is its own text, whatever its length.
  EXPECT_EQ(value_to_text(str(std::string(3000, 'x'))).size(), 3000u);
}

}  // namespace
}  // namespace orvane
