// The fixture of the file-layer tests: a run-time, a fresh directory bound
// to the Lisp variable `Dir` (a host path, which is also a pathname), and
// TMPDIR pointing into it so that temporary files stay inside.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

#include "core/symbols.h"
#include "platform/host_paths.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "storage/resources.h"
#include "storage_support.h"
#include "support/eval_helpers.h"
#include "support/scoped_env.h"

namespace orvane::testing {

class FileLispTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    set_symbol_global(intern("Dir"), make_string(dir.path()));
  }
  void TearDown() override {
    close_all_resource_files();
    EvalTest::TearDown();
  }
  // The Lisp texts of these tests write Windows paths with single
  // backslashes; the reader wants them doubled inside strings.
  static std::string lisp(std::string_view text) {
    std::string out;
    for (char c : text) {
      if (c == '\\') out += '\\';
      out += c;
    }
    return out;
  }
  Value eval(std::string_view text) { return run(read_from_text(lisp(text))); }
  std::int32_t num(std::string_view text) { return integer_of(eval(text)); }
  std::string str(std::string_view text) {
    Value v = eval(text);
    return is_string(v) ? std::string(string_view_of(v)) : "<not a string: " + print_to_string(v) + ">";
  }
  // Strings quoted, backslashes doubled.
  std::string printed(std::string_view text) { return print_to_string(eval(text), PrintStyle::readable); }
  bool truth(std::string_view text) { return is_true(eval(text)); }
  int error(std::string_view text) { return error_of(read_from_text(lisp(text))); }
  // The Windows-style path Lisp sees for a file of the directory.
  std::string windows_path(const std::string& name) const { return platform::to_windows_path(dir.file(name)); }

  TempDir dir;
  ScopedEnv tmpdir{"TMPDIR", dir.path()};
};

}  // namespace orvane::testing
