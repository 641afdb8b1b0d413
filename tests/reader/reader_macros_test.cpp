// Macro characters and dispatch: quote, keywords, logic variables, feature
// tests, characters, vectors, texts by language, source positions, and the
// tables as Lisp changes them.
#include <cstring>
#include <string>

#include "core/symbols.h"
#include "eval/eval.h"
#include "reader/char_types.h"
#include "reader_fixture.h"

namespace orvane {
namespace {

using testing::list;
using testing::num;
using testing::quoted;
using testing::sym;
using testing::var;

class ReaderMacros : public testing::ReaderTest {
 protected:
  void set(std::string_view name, Value v) { set_symbol_global(sym(name), v); }
};

TEST_F(ReaderMacros, QuoteWrapsTheNextDatum) {
  EXPECT_TRUE(same(read1("'a"), quoted(sym("a"))));
  EXPECT_TRUE(same(read1("'(a 'b)"), quoted(list({sym("a"), quoted(sym("b"))}))));
  EXPECT_EQ(read_error("'"), 25);
  EXPECT_EQ(read_error("(')"), 25);
}

TEST_F(ReaderMacros, KeywordsAreBoundToThemselves) {
  Value k = read1(":size");
  EXPECT_EQ(k, sym(":size"));
  EXPECT_EQ(symbol_global(k), k);
  // The empty name gives the keyword ":".
  EXPECT_EQ(read1(":"), sym(":"));
}

TEST_F(ReaderMacros, EachLogicVariableIsANewNode) {
  Value form = read1("(_x _x _)");
  ASSERT_EQ(list_length(form), 3u);
  Value a = car(form), b = car(cdr(form)), c = car(cdr(cdr(form)));
  ASSERT_TRUE(is_variable(a));
  EXPECT_NE(a, b);
  EXPECT_TRUE(same(a, var("x")));
  EXPECT_EQ(car(a), make_fixnum(0));
  EXPECT_EQ(cdr(a), sym("x"));
  EXPECT_EQ(cdr(c), sym(""));
}

TEST_F(ReaderMacros, CharactersAndCharacterNames) {
  EXPECT_EQ(read1("#\\a"), make_fixnum(97));
  EXPECT_EQ(read1("#\\space"), make_fixnum(32));
  EXPECT_EQ(read1("#\\question-mark"), make_fixnum(47));
  EXPECT_EQ(read1("#\\not-equal"), make_fixnum(173));
  EXPECT_EQ(read1("#\\("), make_fixnum('('));
  EXPECT_EQ(read1("#\\ "), make_fixnum(' '));
  EXPECT_EQ(read1("#\\1"), make_fixnum('1'));
  EXPECT_EQ(read_error("#\\Space"), 2);
  EXPECT_EQ(culprit_text(), "Space");
  EXPECT_EQ(read_error("#\\"), 25);
  // A digit does not continue a name: #\a1 is "a" and then 1.
  EXPECT_TRUE(same(read1("(#\\a1)"), list({num(97), num(1)})));
  EXPECT_TRUE(same(read1("(#\\a)"), list({num(97)})));
}

TEST_F(ReaderMacros, CharactersOnAMacintoshAreTranslated) {
  set("Machine", sym("mac"));
  EXPECT_EQ(read1("#\\\xe9"), make_fixnum(0x8e));  // e acute
  EXPECT_EQ(read1("#\\a"), make_fixnum(97));
  EXPECT_EQ(read1("#\\tab"), make_fixnum(9));  // names are not translated
  set("Machine", sym("ibm"));
  EXPECT_EQ(read1("#\\\xe9"), make_fixnum(0xe9));
}

TEST_F(ReaderMacros, SharpParenthesisReadsAVector) {
  Value v = read1("#(a 2 \"s\")");
  ASSERT_TRUE(is_vector(v));
  const std::uint8_t* data = indirect_data(v);
  EXPECT_EQ(data[0] | data[1] << 8, 3);
  Value elements[3];
  std::memcpy(elements, data + 2, sizeof elements);
  EXPECT_EQ(elements[0], sym("a"));
  EXPECT_EQ(elements[1], make_fixnum(2));
  EXPECT_EQ(string_view_of(elements[2]), "s");
  Value empty = read1("#()");
  ASSERT_TRUE(is_vector(empty));
  EXPECT_EQ(indirect_data(empty)[0], 0);
}

TEST_F(ReaderMacros, VectorLimitsAndDottedLists) {
  std::string text = "#(";
  for (int i = 0; i < 16383; ++i) text += "0 ";
  EXPECT_TRUE(is_vector(read1(text + ")")));
  EXPECT_EQ(read_error(text + "0)"), 2);
  EXPECT_EQ(culprit_text(), "16384");
  EXPECT_EQ(read_error("#(a . b)"), 2);
}

TEST_F(ReaderMacros, SharpBraceChoosesTheTextOfTheLanguage) {
  set("Langage", sym("fr"));
  EXPECT_EQ(string_view_of(read1("#{en \"Yes\" fr \"Oui\"}")), "Oui");
  set("Langage", sym("de"));
  EXPECT_EQ(read_error("#{en \"Yes\" fr \"Oui\"}"), 2);
  // A key without a text.
  set("Langage", sym("fr"));
  EXPECT_EQ(read_error("#{en \"Yes\" fr}"), 2);
  // Dotted lists are walked safely.
  EXPECT_EQ(read_error("#{en . 5}"), 2);
  EXPECT_EQ(read_error("#{fr . 5}"), 2);
  set("Langage", kNoValue);
  EXPECT_EQ(read_error("#{en \"Yes\"}"), 6);
  EXPECT_EQ(culprit_text(), "Langage");
}

TEST_F(ReaderMacros, UnknownDispatchCharacterIsNotAFunction) {
  EXPECT_EQ(read_error("#z"), 5);
  EXPECT_EQ(read_error("#"), 25);
}

TEST_F(ReaderMacros, FeatureExpressions) {
  set("Features", list({sym("win"), sym("color")}));
  auto data = read_all("&win 1 2");
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[0], num(1));
  EXPECT_EQ(data[1], num(2));
  data = read_all("&(not win) 1 2");
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0], num(2));
  EXPECT_TRUE(same(read1("(&mac 1 2)"), list({num(2)})));
  EXPECT_TRUE(same(read1("(&(and win color) 1 &(or mac color) 2 &(and win mac) 3)"), list({num(1), num(2)})));
  EXPECT_TRUE(same(read1("(&(or) 1 &(and) 2)"), list({num(2)})));
  // A skipped datum is read whole.
  EXPECT_TRUE(same(read1("(&mac (a (b)) c)"), list({sym("c")})));
}

TEST_F(ReaderMacros, ReadAnswersNilForASkippedDatum) {
  set("Features", list({sym("win")}));
  TextSource source("&mac 1 2");
  // `read` itself answers nil where the native reader skips.
  Value form = read1("(read)");
  set_terminal_source(&source);
  EXPECT_EQ(run(form), kNil);
  EXPECT_EQ(run(form), num(2));
}

TEST_F(ReaderMacros, FeatureErrors) {
  EXPECT_EQ(read_error("&win 1"), 6);
  EXPECT_EQ(culprit_text(), "Features");
  set("Features", list({sym("win")}));
  EXPECT_EQ(read_error("&(xor win) 1"), 2);
  EXPECT_EQ(culprit_text(), "xor");
  EXPECT_TRUE(same(read1("(&(not . x) 1)"), list({num(1)})));
  EXPECT_EQ(read_error("(&win)"), 25);
  EXPECT_EQ(read_error("&win"), 25);
  // A circular feature list ends the search.
  Value features = list({sym("a"), sym("b")});
  set_cdr(cdr(features), features);
  set("Features", features);
  EXPECT_TRUE(same(read1("(&c 1 &b 2)"), list({num(2)})));
}

TEST_F(ReaderMacros, SourcePositionForm) {
  set("Load-File", make_fixnum(7));
  TextSource source("xy {(quote foo) a b} z");
  std::optional<Value> first, second;
  DatumReader reader(source);
  ASSERT_EQ(error_of_call([&] {
              first = reader.next();
              second = reader.next();
            }),
            -1);
  EXPECT_EQ(*first, sym("xy"));
  // H, the file, the offset after "{" and the offset of "}".
  EXPECT_TRUE(same(*second, list({sym("foo"), num(7), num(4), num(19)})));
  EXPECT_TRUE(same(read1("{bar 1 2}"), list({sym("bar"), num(7), num(1), num(8)})));
  EXPECT_EQ(car(read1("{(quote . 5)}")), kNil);
  EXPECT_EQ(car(read1("{}")), kNil);
  set("Load-File", kNil);
  EXPECT_EQ(read_error("{bar}"), 2);
  EXPECT_EQ(culprit_text(), text_of(kNil));
}

TEST_F(ReaderMacros, TypechReadsAndSetsTypes) {
  EXPECT_EQ(eval_text("(typech 40)"), num(chartype::open_list));
  EXPECT_EQ(eval_text("(typech 59)"), num(chartype::comment));
  EXPECT_EQ(eval_text("(typech 33 6)"), num(6));
  EXPECT_EQ(eval_text("(typech 33 21)"), num(21));
  EXPECT_TRUE(same(read1("(a!b)"), list({sym("a"), sym("b")})));
  EXPECT_EQ(eval_error("(typech 256)"), 2);
  EXPECT_EQ(eval_error("(typech 33 300)"), 2);
  EXPECT_EQ(eval_error("(typech 'a)"), 2);
}

TEST_F(ReaderMacros, DmcDefinesAMacroCharacter) {
  // !x reads as (bang x).
  eval_text("(dmc #\\! (list 'bang (read)))");
  EXPECT_EQ(eval_text("(typech #\\!)"), num(chartype::macro));
  EXPECT_TRUE(same(read1("(a !b c)"), list({sym("a"), list({sym("bang"), sym("b")}), sym("c")})));
  EXPECT_EQ(eval_text("(get-macro-character #\\!)").tag(), tag::function);
}

TEST_F(ReaderMacros, MacroFunctionsReadCharactersWithReadch) {
  // %ab reads the two characters after % as a list of codes; the character
  // that readch answered last stays current and starts the next token.
  eval_text("(dmc #\\% (list (readch) (readch)))");
  EXPECT_TRUE(same(read1("(%ab c)"), list({list({num('a'), num('b')}), sym("b"), sym("c")})));
}

TEST_F(ReaderMacros, DdcDefinesADispatchFunction) {
  eval_text("(ddc #\\! (list 'sharp-bang (read)))");
  EXPECT_TRUE(same(read1("#!x"), list({sym("sharp-bang"), sym("x")})));
}

TEST_F(ReaderMacros, SetMacroCharacterReplacesTheLogicVariableReader) {
  Value builtin = eval_text("(get-macro-character #\\_)");
  EXPECT_EQ(builtin.tag(), tag::primitive);
  eval_text("(set-macro-character #\\_ (lambda () (read) 'underscore))");
  EXPECT_TRUE(same(read1("(_x y)"), list({sym("underscore"), sym("y")})));
  // The built-in function is an ordinary primitive that Lisp can put back.
  set_symbol_global(sym("saved-reader"), builtin);
  eval_text("(set-macro-character #\\_ saved-reader)");
  EXPECT_TRUE(is_variable(read1("_x")));
  EXPECT_EQ(eval_text("(set-macro-character #\\_ saved-reader)"), kNoValue);
}

TEST_F(ReaderMacros, NilMacroEntryIsNotAFunction) {
  eval_text("(typech #\\! 4)");
  EXPECT_EQ(read_error("!"), 5);
}

}  // namespace
}  // namespace orvane
