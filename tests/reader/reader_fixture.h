// Reading texts in tests and observing the errors the reader raises.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/equality.h"
#include "eval/errors.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "support/eval_helpers.h"
#include "support/forms.h"

namespace orvane::testing {

class ReaderTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    // No test may wait on the process's standard input.
    set_terminal_source(&terminal_);
  }
  void TearDown() override {
    set_terminal_source(nullptr);
    EvalTest::TearDown();
  }

  // The first datum of a text, which must read without error.
  Value read1(std::string_view text) {
    Value v = kNil;
    EXPECT_EQ(error_of_call([&] { v = read_from_text(text); }), -1) << "reading " << text;
    return v;
  }
  // Every datum of a text, one after another.
  std::vector<Value> read_all(std::string_view text) {
    std::vector<Value> data;
    TextSource source(text);
    DatumReader reader(source);
    EXPECT_EQ(error_of_call([&] {
                while (auto v = reader.next()) data.push_back(*v);
              }),
              -1)
        << "reading " << text;
    return data;
  }
  Value parse(std::string_view text) {
    Value v = kNil;
    EXPECT_EQ(error_of_call([&] { v = parse_text(text); }), -1) << "parsing " << text;
    return v;
  }
  // The code of the error that reading the first datum of a text raises, or
  // -1 when it reads.
  int read_error(std::string_view text) {
    return error_of_call([&] { read_from_text(text); });
  }
  // Reads a form from the text and evaluates it; it must complete.
  Value eval_text(std::string_view text) { return run(read1(text)); }
  int eval_error(std::string_view text) { return error_of(read1(text)); }

  // The code of the error a native call raises, or -1 when it returns.
  template <class F>
  int error_of_call(F&& f) {
    last_alert().clear();
    try {
      f();
    } catch (const Thrower&) {
      if (last_alert().rfind("Error: ", 0) != 0) return -2;
      return std::atoi(last_alert().c_str() + 7);
    }
    return -1;
  }
  // The culprit of the last error, as the error text shows it.
  std::string culprit_text() {
    const std::string& text = last_alert();
    std::size_t start = text.find(", ");
    if (start == std::string::npos) return {};
    start += 2;
    return text.substr(start, text.find(", ", start) - start);
  }
  static std::string text_of(Value v) { return value_to_text(v); }

  static bool same(Value a, Value b) { return equal(a, b); }

  TextSource terminal_{""};
};

}  // namespace orvane::testing
