// Sources: the terminal, Lisp streams (a reading routine and its state),
// their saving and restoring around every reader primitive, and the
// primitives that read characters and lines.
#include <string>
#include <vector>

#include "core/primitives.h"
#include "core/symbols.h"
#include "reader_fixture.h"

namespace orvane {
namespace {

using testing::list;
using testing::num;
using testing::sym;

// Texts that the test stream routine reads; the stream state is the index.
struct StreamText {
  std::string text;
  std::size_t pos = 0;
};
std::vector<StreamText>& stream_texts() {
  static std::vector<StreamText> texts;
  return texts;
}

Value test_getc(Value state) {
  StreamText& s = stream_texts().at(static_cast<std::size_t>(state.fixnum()));
  if (s.pos >= s.text.size()) return make_fixnum(-1);
  return make_fixnum(static_cast<unsigned char>(s.text[s.pos++]));
}

class ReaderSources : public testing::ReaderTest {
 protected:
  void SetUp() override {
    ReaderTest::SetUp();
    stream_texts().clear();
    defprim("test-getc", test_getc);
  }
  // A stream (test-getc . index) over the text, bound to the symbol `name`.
  Value stream(std::string_view name, std::string text) {
    stream_texts().push_back({std::move(text), 0});
    return bind(name, [] {
      return cons(symbol_global(sym("test-getc")),
                  make_fixnum(static_cast<std::int32_t>(stream_texts().size() - 1)));
    });
  }
  // Binds the symbol to the Value that make() builds; the symbol is interned
  // first, so that nothing allocates between the making and the binding.
  template <class F>
  Value bind(std::string_view name, F&& make) {
    Value symbol = sym(name);
    Value v = make();
    set_symbol_global(symbol, v);
    return v;
  }
  std::size_t consumed(std::size_t index) { return stream_texts()[index].pos; }
  // A buffer stream (buffer-getc . record) over a memory block holding the
  // text, bound to the symbol `name`.
  void buffer_stream(std::string_view name, std::string_view text) {
    std::string n = std::to_string(text.size());
    std::string form = "(begin (define buf (new-ptr " + n + "))";
    for (std::size_t i = 0; i < text.size(); ++i) {
      form += " (mset 1 " + std::to_string(static_cast<unsigned char>(text[i])) + " buf " +
              std::to_string(i) + ")";
    }
    form += " (define " + std::string(name) + " (cons buffer-getc (new-buffer-struct 0 " + n + " buf))))";
    run(read1(form));
  }
};

TEST_F(ReaderSources, ReadFromAStream) {
  stream("in", "(a b) c");
  EXPECT_TRUE(same(eval_text("(read in)"), list({sym("a"), sym("b")})));
  EXPECT_EQ(eval_text("(read in)"), sym("c"));
  EXPECT_EQ(eval_text("(read in)"), kNil);
}

TEST_F(ReaderSources, ReadOfAListDoesNotWaitForTheNextCharacter) {
  stream("in", "(a) b");
  eval_text("(read in)");
  EXPECT_EQ(consumed(0), 3u);
}

TEST_F(ReaderSources, TerminalInIsTheDefaultSource) {
  stream("in", "x y");
  set_symbol_global(sym("terminal-in"), symbol_global(sym("in")));
  EXPECT_EQ(eval_text("(read)"), sym("x"));
  EXPECT_EQ(eval_text("(read ())"), sym("y"));
  // t keeps the current source: here the terminal.
  set_symbol_global(sym("terminal-in"), g_sym.t);
  TextSource terminal("z");
  set_terminal_source(&terminal);
  EXPECT_EQ(eval_text("(read)"), sym("z"));
}

TEST_F(ReaderSources, AnObjectAnswersItsStreamToReadProc) {
  stream("in", "hello world");
  eval_text("(define reader-class (new-class 'reader-class))");
  eval_text("(reader-class (define (read-proc) in))");
  EXPECT_EQ(eval_text("(read (make-instance reader-class))"), sym("hello"));
}

TEST_F(ReaderSources, GeneralGetcCallsAMethodOfTheSourceObject) {
  // The stream (general-getc . next-char): next-char is found through the
  // class of the object that answered read-proc.
  stream("chars", "(from method)");
  eval_text("(define port-class (new-class 'port-class))");
  eval_text("(port-class (define (next-char) (test-getc 0)))");
  eval_text("(port-class (define (read-proc) (cons general-getc 'next-char)))");
  EXPECT_TRUE(same(eval_text("(read (make-instance port-class))"), list({sym("from"), sym("method")})));
}

TEST_F(ReaderSources, BufferStreamsAreReadThroughTheirNativeRoutine) {
  buffer_stream("bs", "(x 1) y");
  EXPECT_TRUE(same(eval_text("(read bs)"), list({sym("x"), num(1)})));
  EXPECT_EQ(eval_text("(read bs)"), sym("y"));
  EXPECT_EQ(eval_text("(read bs)"), kNil);
}

TEST_F(ReaderSources, SourcePositionsOfABufferStreamAreItsReadOffsets) {
  buffer_stream("bs", "{foo 1} {(quote bar)}");
  set_symbol_global(sym("Load-File"), num(3));
  EXPECT_TRUE(same(eval_text("(read bs)"), list({sym("foo"), num(3), num(1), num(6)})));
  EXPECT_TRUE(same(eval_text("(read bs)"), list({sym("bar"), num(3), num(9), num(20)})));
}

TEST_F(ReaderSources, ReadchAndReadline) {
  stream("in", "ab\r\nline two\rlast");
  EXPECT_EQ(eval_text("(readch in)"), num('a'));
  EXPECT_EQ(eval_text("(readch in)"), num('b'));
  // The line after the current character: the CR ends it, LFs are dropped.
  Value empty = eval_text("(readline in)");
  EXPECT_EQ(empty, g_mem.empty_string);
  EXPECT_EQ(string_view_of(eval_text("(readline in)")), "line two");
  EXPECT_EQ(string_view_of(eval_text("(readline in)")), "last");
  EXPECT_EQ(eval_text("(readline in)"), g_mem.empty_string);
  EXPECT_EQ(eval_text("(readch in)"), num(65535));
}

TEST_F(ReaderSources, ReadlineRefusesWhatAStringCannotHold) {
  stream("in", std::string("a\0b\r", 4));
  EXPECT_EQ(eval_error("(readline in)"), 2);
  stream("big", std::string(70000, 'x'));
  EXPECT_EQ(eval_error("(readline big)"), 2);
}

TEST_F(ReaderSources, NestedReadsRestoreTheSource) {
  stream("inner", "inner-datum");
  stream("outer", "(a ! b)");
  // ! reads one datum from another stream, and the outer list goes on.
  eval_text("(dmc #\\! (read inner))");
  EXPECT_TRUE(same(eval_text("(read outer)"), list({sym("a"), sym("inner-datum"), sym("b")})));
}

TEST_F(ReaderSources, SourceIsRestoredWhenAnErrorLeavesANestedRead) {
  TextSource terminal("after");
  set_terminal_source(&terminal);
  stream("bad", ")");
  eval_text("(dmc #\\! (read bad))");
  TextSource outer("(a ! b) c");
  DatumReader reader(outer);
  EXPECT_EQ(error_of_call([&] { reader.next(); }), 25);
  // The outer source goes on where the error left it, and the terminal is
  // the current source again.
  std::optional<Value> next;
  EXPECT_EQ(error_of_call([&] { next = reader.next(); }), -1);
  EXPECT_EQ(*next, sym("b"));
  // The ")" that ended b is discarded by the next read.
  EXPECT_EQ(error_of_call([&] { next = reader.next(); }), -1);
  EXPECT_EQ(*next, sym("c"));
  EXPECT_EQ(eval_text("(read)"), sym("after"));
}

TEST_F(ReaderSources, AMacroFunctionThatTakesNoCharacterDoesNotLoop) {
  eval_text("(dmc #\\! 'bang)");
  EXPECT_TRUE(same(read1("(a ! b !)"), list({sym("a"), sym("bang"), sym("b"), sym("bang")})));
}

TEST_F(ReaderSources, BadStreamsAreErrors) {
  EXPECT_EQ(eval_error("(read 'not-a-stream)"), 2);
  EXPECT_EQ(eval_error("(read \"text\")"), 2);
  bind("nil-routine", [] { return cons(kNil, make_fixnum(0)); });
  EXPECT_EQ(eval_error("(read nil-routine)"), 2);
  // A routine answering something other than a character or the end.
  sym("x");
  bind("odd", [] { return cons(symbol_global(sym("car")), list({sym("x")})); });
  EXPECT_EQ(eval_error("(read odd)"), 2);
  EXPECT_EQ(culprit_text(), "x");
}

TEST_F(ReaderSources, RoutinesMayAnswerNilOr65535AtTheEnd) {
  // (lambda (state) nil) reads as an empty source.
  bind("empty", [&] { return cons(eval_text("(lambda (_s) ())"), kNil); });
  EXPECT_EQ(eval_text("(read empty)"), kNil);
  bind("ended", [&] { return cons(eval_text("(lambda (_s) 65535)"), kNil); });
  EXPECT_EQ(eval_text("(readch ended)"), num(65535));
}

TEST_F(ReaderSources, ReadDelimitedList) {
  // <a b c) read by a macro function as a list up to the close-list token.
  eval_text("(dmc #\\< (read-delimited-list () 2))");
  EXPECT_TRUE(same(read1("<a b c)"), list({sym("a"), sym("b"), sym("c")})));
  eval_text("(dmc #\\< (read-delimited-list () 18))");
  EXPECT_TRUE(same(read1("<a b}"), list({sym("a"), sym("b")})));
  EXPECT_EQ(read_error("<a b"), 25);
  eval_text("(dmc #\\< (read-delimited-list t 18))");
  EXPECT_TRUE(same(read1("<a b"), list({sym("a"), sym("b")})));
  EXPECT_EQ(eval_error("(read-delimited-list t 7)"), 2);
}

TEST_F(ReaderSources, ParsePrimitive) {
  EXPECT_TRUE(same(eval_text("(parse \"a (b) 3\")"), list({sym("a"), list({sym("b")}), num(3)})));
  EXPECT_EQ(eval_text("(parse \"\")"), kNil);
  EXPECT_EQ(eval_error("(parse 'a)"), 2);
  EXPECT_EQ(eval_error("(parse \"(a\")"), 25);
}

TEST_F(ReaderSources, KeywordsAndSymbols) {
  EXPECT_EQ(eval_text("(symbol->keyword 'size)"), sym(":size"));
  EXPECT_EQ(symbol_global(sym(":size")), sym(":size"));
  EXPECT_EQ(eval_text("(symbol->keyword '_size)"), sym(":size"));
  EXPECT_EQ(eval_text("(keyword->symbol :size)"), sym("size"));
  // The keyword of a keyword is still found through the symbol table.
  EXPECT_EQ(eval_text("(symbol->keyword :size)"), sym("::size"));
  EXPECT_EQ(eval_error("(symbol->keyword 3)"), 2);
  EXPECT_EQ(eval_error("(keyword->symbol \"x\")"), 2);
}

TEST_F(ReaderSources, Genvarlog) {
  Value v = eval_text("(genvarlog 'n)");
  ASSERT_TRUE(is_variable(v));
  EXPECT_EQ(cdr(v), sym("n"));
  EXPECT_NE(eval_text("(genvarlog 'n)"), v);
}

}  // namespace
}  // namespace orvane
