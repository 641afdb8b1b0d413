// `format`: every directive, prefix parameter and conditional form.
#include "lib/real_text.h"
#include "printer_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

class FormatTest : public PrinterTest {
 protected:
  Value form(Value destination, std::string_view control, std::initializer_list<Value> args) {
    Value tail = kNil;
    for (auto it = std::rbegin(args); it != std::rend(args); ++it) tail = cons(constant(*it), tail);
    return cons(sym("format"), cons(constant(destination), cons(constant(str(control)), tail)));
  }
  std::string fmt(std::string_view control, std::initializer_list<Value> args = {}) {
    Value result = run(form(g_sym.t, control, args));
    return is_string(result) ? std::string(string_view_of(result)) : "<not a string>";
  }
  int fmt_error(std::string_view control, std::initializer_list<Value> args = {}) {
    return error_of(form(g_sym.t, control, args));
  }
};

TEST_F(FormatTest, PlainTextAndResults) {
  EXPECT_EQ(fmt("no directives"), "no directives");
  EXPECT_EQ(fmt(""), "");
  // To the terminal the result is t; to a string destination, that string.
  EXPECT_EQ(run(form(kNil, "hi~%", {})), g_sym.t);
  EXPECT_EQ(terminal(), "hi\n");
  Value s = str("kept");
  EXPECT_EQ(run(form(s, "~a", {num(1)})), s);
  EXPECT_EQ(terminal(), "");
  // A symbol serves as control.
  Value by_symbol = list({sym("format"), constant(g_sym.t), constant(sym("abc"))});
  EXPECT_EQ(string_view_of(run(by_symbol)), "abc");
}

TEST_F(FormatTest, TooFewArgumentsIsError2) {
  EXPECT_EQ(error_of(list({sym("format")})), 2);
  EXPECT_EQ(error_of(list({sym("format"), constant(g_sym.t)})), 2);
}

TEST_F(FormatTest, SimpleDirectives) {
  EXPECT_EQ(fmt("a~%b~3%c~0%d"), "a\rb\r\r\rcd");
  EXPECT_EQ(fmt("~t|~2t|"), "\t|\t\t|");
  EXPECT_EQ(fmt("~c~3c", {num(65), num(0x162)}), "Abbb");
  EXPECT_EQ(fmt("1~.5"), "1.5");
  g_decimal_mark = ',';
  EXPECT_EQ(fmt("1~.5"), "1,5");
  g_decimal_mark = '.';
  EXPECT_EQ(fmt("~a|~y|~w", {str("q\""), str("q\""), sym("a b")}), "q\"|\"q\\\"\"|a\\ b");
  EXPECT_EQ(fmt("~y", {list({str("s"), num(1)})}), "(\"s\" 1)");
}

TEST_F(FormatTest, PaddingOfAAndX) {
  EXPECT_EQ(fmt("~5a|", {str("ab")}), "ab   |");
  EXPECT_EQ(fmt("~5@a|", {str("ab")}), "   ab|");
  EXPECT_EQ(fmt("~2a|", {str("abcd")}), "abcd|");
  EXPECT_EQ(fmt("~6,,,'*a|", {num(42)}), "42****|");
  EXPECT_EQ(fmt("~x ~x", {num(255), num(-1)}), "FF FFFFFFFF");
  EXPECT_EQ(fmt("~4,,,'0@x", {num(10)}), "000A");
  EXPECT_EQ(fmt_error("~x", {str("ten")}), 2);
}

TEST_F(FormatTest, Reals) {
  EXPECT_EQ(fmt("~f", {make_real(2.5)}), "2.5");
  EXPECT_EQ(fmt("~f", {num(3)}), "3");
  EXPECT_EQ(fmt("~f", {make_real(1.0 / 3)}), "0.333333");
  EXPECT_EQ(fmt("~8,2f|", {make_real(3.14159)}), "3.14|");
  EXPECT_EQ(fmt("~,3f", {make_real(2.0)}), "2.000");
  EXPECT_EQ(fmt("~12f|", {make_real(1e10)}), "1e+10|");
  EXPECT_EQ(fmt("~,0f", {make_real(-2.5)}), "-2");
  EXPECT_EQ(fmt_error("~f", {sym("x")}), 2);
}

TEST_F(FormatTest, Plurals) {
  EXPECT_EQ(fmt("~a file~p", {num(0)}), "0 file");
  EXPECT_EQ(fmt("~a file~p", {num(2)}), "2 files");
  EXPECT_EQ(fmt("~a file~p", {num(1)}), "1 file");
  EXPECT_EQ(fmt("~a file~:p, ~a", {num(5), num(9)}), "5 files, 9");
  EXPECT_EQ(fmt("~p|~p|~p", {num(1), num(2), make_real(1.0)}), "|s|s");
  EXPECT_EQ(fmt_error("~p"), 2);
}

TEST_F(FormatTest, PrefixParameters) {
  // "#" counts the arguments left; "'" quotes a character; V takes an
  // argument.
  EXPECT_EQ(fmt("~#%|", {num(1), num(2)}), "\r\r|");
  EXPECT_EQ(fmt("~v%|", {num(3)}), "\r\r\r|");
  EXPECT_EQ(fmt("~V,,,va|", {num(4), num('-'), str("x")}), "x---|");
  EXPECT_EQ(fmt("~3,,,'~a|", {str("x")}), "x~~|");
  EXPECT_EQ(fmt_error("~v%"), 2);
  EXPECT_EQ(fmt_error("~1,2,3,4,5,6,7,8a", {num(1)}), 2);
}

TEST_F(FormatTest, BadCharacterAfterAParameterNamesTheCharacter) {
  EXPECT_EQ(fmt_error("~5.", {num(1)}), 2);
  EXPECT_EQ(culprit(), "46");
  EXPECT_EQ(fmt_error("~'x~", {num(1)}), 2);
  EXPECT_EQ(culprit(), "126");
}

TEST_F(FormatTest, UnknownDirectivesAreError2WithNil) {
  for (std::string_view control : {"~~", "~A", "~q", "~", "~5"}) {
    EXPECT_EQ(fmt_error(control, {num(1)}), 2) << control;
    EXPECT_EQ(culprit(), "()") << control;
  }
}

TEST_F(FormatTest, MissingArgumentIsError2) {
  EXPECT_EQ(fmt_error("~a ~a", {num(1)}), 2);
  EXPECT_EQ(culprit(), "()");
  // What was written before the error reached the destination.
  EXPECT_EQ(error_of(form(kNil, "ab~a~a", {num(1)})), 2);
  EXPECT_EQ(terminal(), "ab1");
}

TEST_F(FormatTest, MovingOverArguments) {
  EXPECT_EQ(fmt("~*~a", {num(1), num(2)}), "2");
  EXPECT_EQ(fmt("~2*~a", {num(1), num(2), num(3)}), "3");
  EXPECT_EQ(fmt("~a~:*~a", {num(1)}), "11");
  EXPECT_EQ(fmt("~a~a~2:*~a", {num(1), num(2)}), "121");
  EXPECT_EQ(fmt("~a~a~@*~a~1@*~a", {num(1), num(2)}), "1212");
  EXPECT_EQ(fmt_error("~:*", {num(1)}), 2);
  EXPECT_EQ(fmt_error("~5@*", {num(1)}), 2);
}

TEST_F(FormatTest, StringResourcesWithoutResourcesWriteNothing) {
  EXPECT_EQ(fmt("[~i]", {num(128)}), "[]");
  EXPECT_EQ(fmt("[~:i]", {num(128), num(1)}), "[]");
  EXPECT_EQ(fmt("[~:i]~a", {num(128), num(0), num(5)}), "[]5");
  EXPECT_EQ(fmt_error("~:i", {num(128)}), 2);
}

TEST_F(FormatTest, IndexedConditionals) {
  const char* control = "~[zero~;one~;two~]!";
  EXPECT_EQ(fmt(control, {num(0)}), "zero!");
  EXPECT_EQ(fmt(control, {num(1)}), "one!");
  EXPECT_EQ(fmt(control, {num(2)}), "two!");
  EXPECT_EQ(fmt_error(control, {num(3)}), 2);
  EXPECT_EQ(fmt("~1[a~;b~]", {}), "b");
  EXPECT_EQ(fmt("~[~a~;<~a>~]", {num(1), num(7)}), "<7>");
  const char* with_default = "~[zero~;one~:;many ~a~]";
  EXPECT_EQ(fmt(with_default, {num(1), num(9)}), "one");
  EXPECT_EQ(fmt(with_default, {num(2), num(9)}), "many 9");
  EXPECT_EQ(fmt(with_default, {num(50), num(9)}), "many 9");
}

TEST_F(FormatTest, TrueFalseConditionals) {
  EXPECT_EQ(fmt("~:[no~;yes~]", {kNil}), "no");
  EXPECT_EQ(fmt("~:[no~;yes~]", {num(0)}), "yes");
  EXPECT_EQ(fmt("~:[no~;yes~] ~a", {kNil, num(3)}), "no 3");
  EXPECT_EQ(fmt_error("~:[no~]", {g_sym.t}), 2);
}

TEST_F(FormatTest, AtConditionals) {
  EXPECT_EQ(fmt("~@[x=~a ~]end", {num(5)}), "x=5 end");
  EXPECT_EQ(fmt("~@[x=~a ~]end~a", {kNil, num(6)}), "end6");
  EXPECT_EQ(fmt_error("~@[~a~]"), 2);
}

TEST_F(FormatTest, MisplacedConditionalDirectives) {
  EXPECT_EQ(fmt_error("a~;b"), 2);
  EXPECT_EQ(fmt_error("a~]b"), 2);
  EXPECT_EQ(fmt_error("~[a~[b~]~]", {num(0)}), 2);
  EXPECT_EQ(fmt_error("~1[a~[b~]~]"), 2);
  // Skipped clauses are scanned for directives, not run: a quoted "]" or
  // an argument-taking directive there changes nothing.
  EXPECT_EQ(fmt("~1[~']a~v%~;b~]", {}), "b");
  // A conditional may follow another one.
  EXPECT_EQ(fmt("~:[a~;b~]~:[c~;d~]", {kNil, g_sym.t}), "ad");
}

TEST_F(FormatTest, OutputIntoAStringIsCutAt1024) {
  std::string long_text(1500, 'x');
  EXPECT_EQ(fmt(long_text).size(), kStringBufferSize);
  EXPECT_EQ(fmt("ab~a", {str(long_text)}), "ab" + std::string(1022, 'x'));
  // ~a itself prints through the 1024-byte buffer, even to the terminal.
  run(form(kNil, "~a|", {str(long_text)}));
  EXPECT_EQ(terminal(), std::string(1024, 'x') + "|");
}

TEST_F(FormatTest, DestinationIsRestoredAfterAnError) {
  EXPECT_EQ(fmt_error("~a~a", {num(1)}), 2);
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
  run(form(kNil, "ok", {}));
  EXPECT_EQ(terminal(), "ok");
}

}  // namespace
}  // namespace orvane
