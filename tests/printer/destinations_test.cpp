// The printing primitives, their destinations, and instances that print
// themselves.
#include "printer_fixture.h"

namespace orvane {
namespace {

using namespace orvane::testing;

std::string& native_output() {
  static std::string text;
  return text;
}
Value g_native_state;
Value g_object_seen;
void collect_native(int c, Value state) {
  native_output() += static_cast<char>(c);
  g_native_state = state;
  g_object_seen = current_destination_object();
}
// A writing routine that fails on the character "!".
void refuse_bang(int c, Value) {
  if (c == '!') raise_error(46, make_fixnum(c));
  native_output() += static_cast<char>(c);
}

class DestinationsTest : public PrinterTest {
 protected:
  void SetUp() override {
    PrinterTest::SetUp();
    native_output().clear();
    g_native_state = kNil;
    g_object_seen = kNil;
    define_write_routine("t-collect", collect_native);
    define_write_routine("t-refuse", refuse_bang);
  }
  Value stream(std::string_view routine, Value state) { return cons(symbol_global(sym(routine)), state); }
  Value call_form(std::string_view name, std::initializer_list<Value> args) {
    Value tail = list_of(args);
    return cons(sym(name), tail);
  }
};

TEST_F(DestinationsTest, EachPrimitiveOnTheTerminal) {
  Value s = constant(str("a\"b"));
  EXPECT_EQ(string_view_of(run(call_form("princ", {s}))), "a\"b");
  EXPECT_EQ(terminal(), "a\"b\n");
  run(call_form("prin", {s}));
  EXPECT_EQ(terminal(), "a\"b");
  run(call_form("display", {s}));
  EXPECT_EQ(terminal(), "\"a\\\"b\"\n");
  run(call_form("displ", {s}));
  EXPECT_EQ(terminal(), "\"a\\\"b\"");
  run(call_form("write", {s}));
  EXPECT_EQ(terminal(), "\"a\\\"b\"");
  EXPECT_EQ(run(call_form("new-line", {})), kNoValue);
  EXPECT_EQ(terminal(), "\n");
  // fprinc and fprin take the destination first and escape like symbol names,
  // strings included (unquoted).
  run(call_form("fprinc", {kNil, constant(list({str("a b"), sym("c(d")}))}));
  EXPECT_EQ(terminal(), "(a\\ b c\\(d)\n");
  run(call_form("fprin", {constant(g_sym.t), constant(sym("x y"))}));
  EXPECT_EQ(terminal(), "x\\ y");
}

TEST_F(DestinationsTest, PrintingFlushesTheTerminal) {
  run(call_form("prin", {num(5)}));
  EXPECT_EQ(console_.pending(), 0u);
  EXPECT_EQ(out_.str(), "5");
}

TEST_F(DestinationsTest, NativeWritingRoutine) {
  Value st = stream("t-collect", num(77));
  EXPECT_EQ(run(call_form("princ", {constant(sym("hi")), constant(st)})), sym("hi"));
  EXPECT_EQ(native_output(), "hi\r");
  EXPECT_EQ(g_native_state, num(77));
  EXPECT_EQ(g_object_seen, kNil);
  EXPECT_EQ(terminal(), "");
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
  // The routine is registered like a primitive that Lisp does not call.
  EXPECT_EQ(run(list({sym("t-collect")})), kNoValue);
}

TEST_F(DestinationsTest, LispWritingRoutines) {
  run(call_form("prin", {constant(sym("ab")), constant(stream("t-record", kNil))}));
  EXPECT_EQ(routine_output(), "ab");
  routine_output().clear();
  Value c = var("c"), s = var("s");
  Value lambda = list({sym("lambda"), list({c, s}), list({sym("t-record"), c, s})});
  run(call_form("prin", {num(12), list({sym("cons"), lambda, num(0)})}));
  EXPECT_EQ(routine_output(), "12");
  // A symbol naming the routine will do as well.
  routine_output().clear();
  run(call_form("prin", {num(3), constant(cons(sym("t-record"), kNil))}));
  EXPECT_EQ(routine_output(), "3");
}

TEST_F(DestinationsTest, ObjectsAnswerTheirStream) {
  Value object = instance();
  set_symbol_global(sym("the-stream"), stream("t-collect", num(1)));
  define("write-proc", list({sym("lambda"), kNil, sym("the-stream")}));
  run(call_form("prin", {num(42), constant(object)}));
  EXPECT_EQ(native_output(), "42");
  EXPECT_EQ(g_object_seen, object);
  EXPECT_EQ(current_destination_object(), kNil);
}

TEST_F(DestinationsTest, TerminalOutIsTheDefault) {
  set_symbol_global(sym("terminal-out"), stream("t-collect", kNil));
  run(call_form("prin", {num(1)}));
  run(call_form("prin", {num(2), kNil}));
  EXPECT_EQ(native_output(), "12");
  // t keeps the current destination: the terminal.
  run(call_form("prin", {num(3), constant(g_sym.t)}));
  EXPECT_EQ(terminal(), "3");
}

TEST_F(DestinationsTest, BadDestinationsAreRefused) {
  EXPECT_EQ(error_of(call_form("prin", {num(1), num(5)})), 2);
  EXPECT_EQ(culprit(), "5");
  EXPECT_EQ(error_of(call_form("prin", {num(1), constant(cons(num(3), kNil))})), 2);
  EXPECT_EQ(error_of(call_form("new-line", {constant(str("x"))})), 2);
  // An object whose write-proc answers no stream.
  define("write-proc", list({sym("lambda"), kNil, num(0)}));
  EXPECT_EQ(error_of(call_form("prin", {num(1), constant(instance())})), 2);
  EXPECT_EQ(terminal(), "");
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
}

TEST_F(DestinationsTest, DestinationIsRestoredWhenAnErrorPasses) {
  Value refusing = stream("t-refuse", kNil);
  EXPECT_EQ(error_of(call_form("prin", {constant(str("ab!cd")), constant(refusing)})), 46);
  EXPECT_EQ(native_output(), "ab");
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
  EXPECT_EQ(Context::innermost(), nullptr);
  run(call_form("prin", {num(1)}));
  EXPECT_EQ(terminal(), "1");
}

TEST_F(DestinationsTest, NestedDestinationsUnwindInOrder) {
  // The routine itself prints to another stream: the inner primitive
  // installs its own destination and gives the outer one back.
  Value c = var("c"), s = var("s");
  Value echo = list({sym("lambda"), list({c, s}), list({sym("t-record"), c, s}),
                     list({sym("prin"), c, constant(stream("t-collect", kNil))})});
  run(call_form("prin", {constant(sym("xy")), list({sym("cons"), echo, num(0)})}));
  EXPECT_EQ(routine_output(), "xy");
  EXPECT_EQ(native_output(), "120121");
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
}

// --- print-self ---------------------------------------------------------------

TEST_F(DestinationsTest, InstancesPrintWhatPrintSelfAnswers) {
  Value object = instance();
  define("print-self", list({sym("lambda"), kNil, constant(str("<a b>"))}));
  EXPECT_EQ(plain(object), "<a b>");
  EXPECT_EQ(readable(object), "<a b>");
  EXPECT_EQ(plain(list({object, object})), "(<a b> <a b>)");
  run(call_form("fprin", {kNil, constant(object)}));
  EXPECT_EQ(terminal(), "<a\\ b>");
  EXPECT_EQ(error_of(call_form("write", {constant(object)})), 2);
}

TEST_F(DestinationsTest, PrintSelfAnswerThatIsNoString) {
  define("print-self", list({sym("lambda"), kNil, num(5)}));
  EXPECT_EQ(plain(instance()), "#<instance>");
}

TEST_F(DestinationsTest, PrintSelfPrintingItselfGetsTheGuard) {
  // print-self formats the instance itself into a string.
  define("print-self", list({sym("lambda"), kNil,
                             list({sym("format"), constant(g_sym.t), constant(str("[~a]")), list({sym("t-self")})})}));
  EXPECT_EQ(plain(instance()), "[#<instance>]");
  // The guard is cleared afterwards: a second instance prints the same way.
  EXPECT_EQ(plain(list({instance(), instance()})), "([#<instance>] [#<instance>])");
}

TEST_F(DestinationsTest, FormatNestsInsidePrintSelf) {
  define("print-self", list({sym("lambda"), kNil,
                             list({sym("format"), constant(g_sym.t), constant(str("x~ay~%")), num(5)})}));
  Value form = list({sym("format"), constant(g_sym.t), constant(str("~a and ~a~p")), constant(instance()), num(7)});
  EXPECT_EQ(string_view_of(run(form)), "x5y\r and 7s");
}

TEST_F(DestinationsTest, AThrowOutOfPrintSelfClearsTheGuard) {
  define("print-self", list({sym("lambda"), kNil, list({sym("throw"), quoted(sym("out")), num(1)})}));
  Value form = list({sym("catch"), quoted(sym("out")), list({sym("princ"), constant(instance())})});
  EXPECT_EQ(run(form), num(1));
  define("print-self", list({sym("lambda"), kNil, constant(str("fine"))}));
  EXPECT_EQ(plain(instance()), "fine");
  EXPECT_EQ(current_destination().kind, Destination::Kind::terminal);
}

}  // namespace
}  // namespace orvane
