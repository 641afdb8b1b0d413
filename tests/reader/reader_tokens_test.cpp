// Symbols, strings, lists, dots, comments and the top-level behaviour of
// successive reads.
#include <string>

#include "reader/char_types.h"
#include "reader_fixture.h"

namespace orvane {
namespace {

using testing::list;
using testing::num;
using testing::sym;

class ReaderTokens : public testing::ReaderTest {};

TEST_F(ReaderTokens, SymbolsAreInternedCaseSensitively) {
  EXPECT_EQ(read1("abc"), sym("abc"));
  EXPECT_EQ(read1("  \t\r\nabc"), sym("abc"));
  EXPECT_NE(read1("Abc"), sym("abc"));
  EXPECT_EQ(read1("x.y"), sym("x.y"));
  EXPECT_EQ(read1("a|b"), sym("a|b"));
  EXPECT_EQ(read1("<=>"), sym("<=>"));
  EXPECT_EQ(read1("\xe9t\xe9"), sym("\xe9t\xe9"));
}

TEST_F(ReaderTokens, EscapeTakesTheNextCharacterLiterally) {
  EXPECT_EQ(read1("\\(a\\ b"), sym("(a b"));
  EXPECT_EQ(read1("a\\;b"), sym("a;b"));
  EXPECT_EQ(read1("\\12"), sym("12"));
  // An escape at the very end adds nothing.
  EXPECT_EQ(read1("ab\\"), sym("ab"));
}

TEST_F(ReaderTokens, SymbolNamesHoldAtMost255Characters) {
  std::string name(255, 'k');
  EXPECT_EQ(read1(name), sym(name));
  EXPECT_EQ(read_error(name + "k"), 2);
  EXPECT_EQ(culprit_text(), text_of(kNil));
  EXPECT_EQ(read_error("1" + std::string(300, 'x')), 2);
}

TEST_F(ReaderTokens, AZeroByteCannotBeInASymbolName) { EXPECT_EQ(read_error(std::string("a\\\0b", 4)), 2); }

TEST_F(ReaderTokens, StringsKeepCarriageReturnsAndDropLineFeeds) {
  Value s = read1("\"a\r\nb\"");
  ASSERT_TRUE(is_string(s));
  EXPECT_EQ(string_view_of(s), "a\rb");
  EXPECT_EQ(string_view_of(read1(R"("say \"hi\" \\ now")")), "say \"hi\" \\ now");
  // An escaped line feed is taken as it is.
  EXPECT_EQ(string_view_of(read1("\"a\\\nb\"")), "a\nb");
}

TEST_F(ReaderTokens, EmptyStringIsTheSharedOne) { EXPECT_EQ(read1("\"\""), g_mem.empty_string); }

TEST_F(ReaderTokens, LongStringsReadWhole) {
  std::string text(40000, 'z');
  Value s = read1("\"" + text + "\"");
  EXPECT_EQ(string_view_of(s), text);
}

TEST_F(ReaderTokens, StringErrors) {
  // An unterminated string is an error, not a string holding the rest.
  EXPECT_EQ(read_error("\"abc"), 25);
  EXPECT_EQ(read_error("\"abc\\"), 25);
  EXPECT_EQ(read_error("\"" + std::string(70000, 'z') + "\""), 2);
  EXPECT_EQ(read_error(std::string("\"a\0b\"", 5)), 2);
}

TEST_F(ReaderTokens, ListsAndBrackets) {
  EXPECT_TRUE(same(read1("(a (b c) ())"), list({sym("a"), list({sym("b"), sym("c")}), kNil})));
  EXPECT_EQ(read1("()"), kNil);
  EXPECT_EQ(read1("[]"), kNil);
  EXPECT_TRUE(same(read1("[a b)"), list({sym("a"), sym("b")})));
  EXPECT_TRUE(same(read1("(a b]"), list({sym("a"), sym("b")})));
}

TEST_F(ReaderTokens, DottedPairs) {
  Value p = read1("(a . b)");
  EXPECT_EQ(car(p), sym("a"));
  EXPECT_EQ(cdr(p), sym("b"));
  EXPECT_TRUE(same(read1("(a | b)"), p));
  Value q = read1("(a b . (c))");
  EXPECT_TRUE(same(q, list({sym("a"), sym("b"), sym("c")})));
  // An element after a dotted tail replaces the tail.
  Value r = read1("(a . b c)");
  EXPECT_EQ(car(r), sym("a"));
  EXPECT_EQ(cdr(r), sym("c"));
}

TEST_F(ReaderTokens, MisplacedTokensAreErrors) {
  EXPECT_EQ(read_error(")"), 25);
  EXPECT_EQ(read_error("]"), 25);
  EXPECT_EQ(read_error("."), 25);
  EXPECT_EQ(culprit_text(), text_of(kNil));
  EXPECT_EQ(read_error("(. a)"), 25);
  EXPECT_EQ(read_error("(a . )"), 25);
  EXPECT_EQ(read_error("(a . . b)"), 25);
  EXPECT_EQ(read_error("(a b"), 25);
  EXPECT_EQ(read_error("(a ."), 25);
  // A brace cannot close a parenthesis, nor the reverse.
  EXPECT_EQ(read_error("(a }"), 25);
  EXPECT_EQ(read_error("}"), 25);
}

TEST_F(ReaderTokens, CommentsRunToTheLineEnd) {
  EXPECT_TRUE(same(read1("(a ; b c\n d)"), list({sym("a"), sym("d")})));
  EXPECT_TRUE(same(read1("(a ; b c\r d)"), list({sym("a"), sym("d")})));
  EXPECT_EQ(read1("; nothing but a comment"), kNil);
  EXPECT_EQ(read_error("(a ; open"), 25);
}

TEST_F(ReaderTokens, SuccessiveReadsDiscardTheCharacterThatEndedADatum) {
  auto data = read_all("abc def");
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[0], sym("abc"));
  EXPECT_EQ(data[1], sym("def"));
  data = read_all("abc(def)");
  ASSERT_EQ(data.size(), 2u);
  EXPECT_EQ(data[1], sym("def"));
  // A closing parenthesis leaves nothing to discard.
  data = read_all("(a)(b)");
  ASSERT_EQ(data.size(), 2u);
  EXPECT_TRUE(same(data[1], list({sym("b")})));
  EXPECT_TRUE(read_all("").empty());
  EXPECT_TRUE(read_all("  ; comment only\r").empty());
}

TEST_F(ReaderTokens, ReadingGoesOnAfterAnError) {
  TextSource source(") a (b . ) c");
  DatumReader reader(source);
  EXPECT_EQ(error_of_call([&] { reader.next(); }), 25);
  std::optional<Value> v;
  EXPECT_EQ(error_of_call([&] { v = reader.next(); }), -1);
  EXPECT_EQ(*v, sym("a"));
  EXPECT_EQ(error_of_call([&] { reader.next(); }), 25);
  EXPECT_EQ(error_of_call([&] { v = reader.next(); }), -1);
  EXPECT_EQ(*v, sym("c"));
  EXPECT_EQ(error_of_call([&] { v = reader.next(); }), -1);
  EXPECT_FALSE(v.has_value());
}

TEST_F(ReaderTokens, ParseReadsEveryDatumAndStopsAtAnExtraCloser) {
  EXPECT_TRUE(same(parse("a (b) 3"), list({sym("a"), list({sym("b")}), num(3)})));
  EXPECT_EQ(parse(""), kNil);
  EXPECT_TRUE(same(parse("a ) b"), list({sym("a")})));
  EXPECT_EQ(error_of_call([] { parse_text("a (b"); }), 25);
}

TEST_F(ReaderTokens, InvalidAndReplacedCharacterTypes) {
  g_char_types['!'] = chartype::invalid;
  EXPECT_EQ(read_error("!"), 2);
  g_char_types['!'] = chartype::close_list_alt;
  EXPECT_TRUE(same(read1("(a b!"), list({sym("a"), sym("b")})));
  g_char_types['!'] = 40;  // any type from 22 on is whitespace
  EXPECT_TRUE(same(read1("(a!b)"), list({sym("a"), sym("b")})));
}

TEST_F(ReaderTokens, DeepNestingIsAnOrderlyError) {
  std::string deep(200000, '(');
  EXPECT_EQ(read_error(deep), 9);
  // The reader is usable afterwards.
  EXPECT_TRUE(same(read1("((a))"), list({list({sym("a")})})));
  std::string quotes(200000, '\'');
  EXPECT_EQ(read_error(quotes + "a"), 9);
}

TEST_F(ReaderTokens, ModerateNestingReads) {
  std::string text = std::string(500, '(') + "x" + std::string(500, ')');
  Value v = read1(text);
  for (int i = 0; i < 499; ++i) v = car(v);
  EXPECT_TRUE(same(v, list({sym("x")})));
}

TEST_F(ReaderTokens, LongFlatListsNeedNoNesting) {
  std::string text = "(";
  for (int i = 0; i < 50000; ++i) text += "a ";
  text += ")";
  EXPECT_EQ(list_length(read1(text)), 50000u);
}

}  // namespace
}  // namespace orvane
