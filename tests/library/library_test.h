// Evaluating Lisp text in the library tests, through the run-time's reader.
#pragma once

#include <string>
#include <string_view>

#include "core/equality.h"
#include "core/symbols.h"
#include "reader/reader.h"
#include "support/eval_helpers.h"

namespace orvane::testing {

class LibraryTest : public EvalTest {
 protected:
  Value read(std::string_view text) { return read_from_text(text); }
  // The value of the text's first form, which must complete.
  Value eval_text(std::string_view text) { return run(read(text)); }
  // The error code the text's form raises (-1 when it completes).
  int error_code(std::string_view text) { return error_of(read(text)); }
  // Whether the value is equal? to the datum the expected text reads as.
  ::testing::AssertionResult gives(std::string_view text, std::string_view expected) {
    Value got = eval_text(text);
    Value want = read(expected);
    if (equal(got, want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text << " did not give " << expected;
  }
  bool holds(std::string_view text) { return eval_text(text) == g_sym.t; }
  std::string text_of_value(std::string_view text) {
    Value v = eval_text(text);
    if (!is_string(v)) return "<not a string>";
    return std::string(string_view_of(v));
  }
  std::int32_t integer(std::string_view text) { return integer_of(eval_text(text)); }
  void define(std::string_view name, Value v) { set_symbol_global(intern(name), v); }
};

}  // namespace orvane::testing
