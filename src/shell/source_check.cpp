#include "shell/source_check.h"

#include <cstdlib>

#include "core/memory.h"
#include "core/runtime.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/toplevel.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "reader/reader.h"
#include "shell/modules.h"

namespace orvane::shell {

namespace {

// A host that keeps the run-time quiet: errors are collected by the caller
// from the error text, nothing is printed.
class QuietHost final : public platform::Host {
 public:
  platform::Clock& clock() override { return clock_; }
  void write_terminal(std::string_view) override {}
  void flush_terminal() override {}
  int read_terminal() override { return -1; }
  void write_error_line(std::string_view) override {}
  void internal_error_alert(std::string_view) override {}
  int out_of_memory_alert() override { return 1; }

 private:
  platform::SystemClock clock_;
};

// The text's bytes, with the line of the last byte read and the line on
// which the datum being read began.
class LineCountingSource final : public CharSource {
 public:
  explicit LineCountingSource(std::string_view text) : text_(text) {}
  int next() override {
    if (pos_ >= text_.size()) return -1;
    const char c = text_[pos_++];
    if (newline_pending_) ++line_;
    newline_pending_ = c == '\n';
    if (datum_line_ == 0) {
      if (c == ';') in_comment_ = true;
      else if (c == '\n' || c == '\r') in_comment_ = false;
      else if (!in_comment_ && c != ' ' && c != '\t') datum_line_ = line_;
    }
    return static_cast<unsigned char>(c);
  }
  std::uint32_t position() const override { return static_cast<std::uint32_t>(pos_); }
  // The last two characters read ("#x" after an unknown dispatch character).
  std::string_view last_two() const { return pos_ >= 2 ? text_.substr(pos_ - 2, 2) : std::string_view(); }
  int line() const { return line_; }
  int datum_line() const { return datum_line_ ? datum_line_ : line_; }
  void start_datum() {
    datum_line_ = 0;
    in_comment_ = false;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int datum_line_ = 0;
  bool newline_pending_ = false;
  bool in_comment_ = false;
};

MemoryConfig check_memory() {
  MemoryConfig c;
  // Room for large quoted data: nothing read is kept once the next is read.
  c.nodes = 1500000;
  c.heap = 16u << 20;
  c.reserve = 0;
  c.node_share = 0;
  c.total = 64u << 20;
  return c;
}

// "Error: CODE, CULPRIT, ..." as the error path writes it.
std::string reader_message(std::string_view error_text, int datum_line, int line, std::string_view last_two) {
  constexpr std::string_view kPrefix = "Error: ";
  if (!error_text.starts_with(kPrefix)) return std::string(error_text);
  std::string_view rest = error_text.substr(kPrefix.size());
  int code = std::atoi(std::string(rest).c_str());
  std::size_t comma = rest.find(", ");
  std::string culprit;
  if (comma != std::string_view::npos) {
    std::string_view after = rest.substr(comma + 2);
    culprit = std::string(after.substr(0, after.find(", ")));
  }
  switch (code) {
    case 25:
      if (line > datum_line)
        return "the form that begins on line " + std::to_string(datum_line) +
               " is not closed (a \")\" or a string's closing quote is missing)";
      return "a \")\" where no list is open";
    case 2:
      return culprit == "()" ? "this cannot be read (a \"{\" form, a byte that is not text, or a string with a zero byte)"
                             : "this cannot be read: " + culprit;
    case 5:
      if (last_two.starts_with('#')) return "\"" + std::string(last_two) + "\" has no reader function";
      [[fallthrough]];
    default:
      return "the reader fails (error " + std::to_string(code) + ", " + culprit + ")";
  }
}

// Forms that change the reader's syntax for what follows.
bool changes_syntax(Value form) {
  if (!is_pair(form)) return false;
  Value head = car(form);
  for (const char* name : {"dmc", "ddc", "typech", "set-macro-character"})
    if (head == intern(name)) return true;
  return false;
}

void read_everything(const LispSource& source, std::vector<SourceProblem>& problems) {
  LineCountingSource input(source.text);
  DatumReader reader(input);
  for (;;) {
    input.start_datum();
    try {
      std::optional<Value> form = reader.next();
      if (!form) return;
      // Evaluated as loading would, so that data after it read as they will.
      if (changes_syntax(*form)) eval_toplevel(*form);
    } catch (const Thrower&) {
      problems.push_back({source.name, 0, reader_message(last_error_text(), input.datum_line(), input.line(), input.last_two())});
      problems.back().line = problems.back().message.starts_with("the form that begins") ? input.datum_line() : input.line();
      return;
    } catch (const ErrorPrinting&) {
      problems.push_back({source.name, input.line(), "this cannot be read"});
      return;
    }
  }
}

}  // namespace

std::vector<SourceProblem> check_sources(std::span<const LispSource> sources) {
  QuietHost host;
  platform::HostScope scope(host);
  Runtime runtime(check_memory(), register_all_modules);
  set_symbol_global(intern("Features"), kNil);
  set_symbol_global(intern("Load-File"), make_fixnum(0));
  // Language texts are read whole and choose none.
  eval_toplevel(read_from_text("(ddc #\\{ (read-delimited-list () 18) ())"));
  std::vector<SourceProblem> problems;
  for (const LispSource& source : sources) read_everything(source, problems);
  return problems;
}

}  // namespace orvane::shell
