// Loading Lisp source from files and handles: every form evaluated in
// order, events held back and no current object meanwhile, `Load-File`
// bound for handles, and everything put back when a form fails.
#include <gtest/gtest.h>

#include "core/primitives.h"
#include "eval/eval.h"
#include "file_support.h"

namespace orvane::testing {
namespace {

// What a form saw of the load's state.
struct Seen {
  int event_flag = -100;
  bool no_object = false;
};
Seen g_seen;

Value probe_load_state() {
  g_seen = {g_event_poll.event_flag, g_mem.self == kNoObject};
  return kNoValue;
}

class LoadTest : public FileLispTest {
 protected:
  void SetUp() override {
    FileLispTest::SetUp();
    defprim("probe-load-state", probe_load_state);
    g_seen = {};
  }
  void source(const std::string& name, std::string_view text) { write_bytes(dir.file(name), text_bytes(text)); }
};

TEST_F(LoadTest, DefinitionsOfALoadedFileCanBeUsed) {
  source("defs.lsp",
         "(define double (lambda (_x) (* 2 _x)))\r"
         "(define Loaded-Value (double 21))\r"
         "(probe-load-state)\r");
  EXPECT_EQ(eval(R"((load (list Dir "DEFS.LSP")))"), kNoValue);
  EXPECT_GT(g_seen.event_flag, g_event_poll.event_flag);
  EXPECT_TRUE(g_seen.no_object);
  EXPECT_EQ(num("Loaded-Value"), 42);
  EXPECT_EQ(num("(double 5)"), 10);
}

TEST_F(LoadTest, AnErrorStopsTheLoadAndRestoresTheState) {
  source("broken.lsp", "(define Before 1) (car 5) (define After 2)");
  int flag = g_event_poll.event_flag;
  Value self = g_mem.self;
  EXPECT_EQ(error(R"((load (list Dir "broken.lsp")))"), 2);
  EXPECT_EQ(num("Before"), 1);
  EXPECT_EQ(error("After"), 6);
  EXPECT_EQ(g_event_poll.event_flag, flag);
  EXPECT_EQ(g_mem.self, self);
}

TEST_F(LoadTest, AThrowLeavesTheLoadForTheCatch) {
  source("throws.lsp", "(define Thrown 1) (throw 'out 'early) (define Thrown 2)");
  EXPECT_EQ(printed(R"((catch 'out (load (list Dir "throws.lsp"))))"), "early");
  EXPECT_EQ(num("Thrown"), 1);
}

// A loaded form is a top-level form: logic variables outside a function
// work there as they do at the prompt.
TEST_F(LoadTest, LogicVariablesInATopLevelForm) {
  source("let.lsp", "(define Let-Sum (let ((_a 40) (_b 2)) (+ _a _b)))");
  eval(R"((load (list Dir "let.lsp")))");
  EXPECT_EQ(num("Let-Sum"), 42);
}

TEST_F(LoadTest, EmptyAndMissingFiles) {
  source("empty.lsp", "");
  EXPECT_EQ(eval(R"((load (list Dir "empty.lsp")))"), kNoValue);
  EXPECT_EQ(error(R"((load (list Dir "none.lsp")))"), 31);
}

TEST_F(LoadTest, LoadFromHandleBindsLoadFile) {
  eval(R"L((define Code (string->handle "(define Seen-Load-File Load-File) (define Position '{(quote marked) 1 2})")))L");
  eval("(define Outside Load-File)");
  eval("(load-from-handle Code 7)");
  EXPECT_EQ(num("Seen-Load-File"), 7);
  EXPECT_EQ(printed("(car Position)"), "marked");
  EXPECT_EQ(num("(cadr Position)"), 7);
  EXPECT_EQ(printed("Load-File"), printed("Outside"));
  EXPECT_EQ(error(R"L((load-from-handle (string->handle "(car 1)") 8))L"), 2);
  EXPECT_EQ(printed("Load-File"), printed("Outside"));
  EXPECT_EQ(error("(load-from-handle 12 1)"), 2);
}

TEST_F(LoadTest, SourcePositionsNeedLoadFile) {
  source("marked.lsp", "{(quote marked) 1 2}");
  EXPECT_EQ(error(R"((load (list Dir "marked.lsp")))"), 2);
}

}  // namespace
}  // namespace orvane::testing
