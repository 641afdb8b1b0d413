// A run-time whose terminal is a captured console, and helpers to build the
// kinds of Value the printer shows.
#pragma once

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/memory.h"
#include "core/primitives.h"
#include "eval/eval.h"
#include "objects/classes.h"
#include "objects/instances.h"
#include "platform/console.h"
#include "reader/char_types.h"
#include "reader/destination.h"
#include "reader/printer.h"
#include "support/eval_helpers.h"

namespace orvane::testing {

// Characters written through the test's writing routines.
inline std::string& routine_output() {
  static std::string text;
  return text;
}
inline Value t_self() { return g_mem.self; }
// A writing routine callable from Lisp: (character state).
inline Value t_record(Value c, Value) {
  routine_output() += static_cast<char>(integer_of(c));
  return kNoValue;
}

class PrinterTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    saved_types_ = g_char_types;
    routine_output().clear();
    defprim("t-self", t_self);
    defprim("t-record", t_record);
  }
  void TearDown() override {
    g_char_types = saved_types_;
    EvalTest::TearDown();
  }

  // What reached the terminal so far (flushed or not), line ends as newlines.
  std::string terminal() {
    console_.flush();
    std::string text = out_.str();
    out_.str("");
    return text;
  }

  std::string plain(Value v) { return print_to_string(v, PrintStyle::plain, 100000); }
  std::string readable(Value v) { return print_to_string(v, PrintStyle::readable, 100000); }
  std::string data(Value v) { return print_to_string(v, PrintStyle::data, 100000); }

  // A form that evaluates to v whatever it is.
  Value constant(Value v) { return quoted(v); }
  Value str(std::string_view text) { return make_string(text); }

  // The culprit text of the last error ("Error: 2, culprit, ...").
  std::string culprit() {
    const std::string& alert = last_alert();
    auto first = alert.find(", ");
    auto second = alert.find(", ", first + 2);
    return first == std::string::npos ? "" : alert.substr(first + 2, second - first - 2);
  }

  // Indirect objects the library modules make; built here from their layout.
  static Value vector_of(std::initializer_list<Value> items) {
    auto n = static_cast<std::uint32_t>(items.size());
    std::uint8_t* p = reserve_indirect(2 + 4 * n);
    auto count = static_cast<std::int16_t>(n);
    std::memcpy(p, &count, 2);
    if (n > 0) std::memcpy(p + 2, items.begin(), 4 * n);
    return commit_indirect(2 + 4 * n, tag::vector, header::vector);
  }
  // Elements in storage order (first index fastest).
  static Value array_of(std::initializer_list<std::uint16_t> dims, std::initializer_list<Value> items) {
    auto n = static_cast<std::uint32_t>(items.size());
    auto r = static_cast<std::uint32_t>(dims.size());
    std::uint32_t size = 4 + 2 * r + 4 * n;
    std::uint8_t* p = reserve_indirect(size);
    std::uint16_t header[2] = {static_cast<std::uint16_t>(n), static_cast<std::uint16_t>(r)};
    std::memcpy(p, header, 4);
    std::memcpy(p + 4, dims.begin(), 2 * r);
    std::memcpy(p + 4 + 2 * r, items.begin(), 4 * n);
    return commit_indirect(size, tag::array, header::array);
  }
  // An instance of a class of its own that defines nothing: sending to it
  // finds the global definitions, which is all the printer needs.
  static Value instance() {
    Value k = objects::create_class(intern("obj-printer-test"), kNil, true);
    return objects::make_instance(k);
  }
  void define(std::string_view name, Value form) { set_symbol_global(sym(name), run(form)); }

  std::ostringstream out_;
  std::istringstream in_;
  platform::Console console_{in_, out_};
  platform::ConsoleRedirect redirect_{console_};
  CharTypeTable saved_types_{};
};

}  // namespace orvane::testing
