// A run-time in which tests write Lisp text: each form is evaluated at top
// level in turn.
#pragma once

#include <string_view>

#include "core/collector.h"
#include "core/equality.h"
#include "core/symbols.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "support/eval_helpers.h"

namespace orvane::testing {

class ObjectsTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    // Error texts print `self`; the loaded world gives instances a print-self.
    lisp("(define (print-self) \"#<object>\")");
  }
  // The value of the last form of the text; every form must complete.
  Value lisp(std::string_view text) {
    GcRoot forms(parse_text(text));
    Value result = kNoValue;
    for (Value l = forms.get(); is_pair(l); l = cdr(l)) result = run(car(l));
    return result;
  }
  // The code of the error raised by the last form (the others must
  // complete), or -1 when it completes.
  int lisp_error(std::string_view text) {
    GcRoot forms(parse_text(text));
    Value l = forms.get();
    for (; is_pair(cdr(l)); l = cdr(l)) run(car(l));
    return error_of(car(l));
  }
  // The printed form of the value of a text.
  std::string printed(std::string_view text) { return print_to_string(lisp(text), PrintStyle::readable); }
  Value global(std::string_view name) { return symbol_global(intern(name)); }
  Value s(std::string_view name) { return intern(name); }
};

}  // namespace orvane::testing
