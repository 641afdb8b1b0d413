// A fixture for the library tests that evaluates Lisp text.
#pragma once

#include <string_view>

#include "core/equality.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "support/eval_helpers.h"

namespace orvane::testing {

// The first datum of a text, as the reader reads it (in quoted data nil is
// the symbol: write the empty list as ()).
inline Value read_text(std::string_view text) { return read_from_text(text); }

class LispTest : public EvalTest {
 protected:
  // The value of the text's form (a top-level (define ...) included).
  Value eval_text(std::string_view text) { return run(read_text(text)); }
  // The error code the text's form raises (-1 when it completes).
  int error_code(std::string_view text) { return error_of(read_text(text)); }
  // Whether the text's value is equal? to the expected text's datum.
  ::testing::AssertionResult gives(std::string_view text, std::string_view expected) {
    Value got = eval_text(text);
    Value want = read_text(expected);
    if (equal(got, want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text << " gave " << value_to_text(got) << ", not " << expected;
  }
};

}  // namespace orvane::testing
