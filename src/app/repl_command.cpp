#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include <editline/readline.h>

#include "app/commands.h"
#include "eval/errors.h"
#include "platform/console.h"
#include "platform/host.h"
#include "shell/session.h"

namespace orvane::app {

namespace {

// Whether the text holds complete data: every list opened is closed (outside
// strings, comments and escapes). Only decides when to stop asking for lines;
// the reader does the real reading.
bool complete(const std::string& text) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\') {
      ++i;
      continue;
    }
    if (in_string) {
      if (c == '"') in_string = false;
      continue;
    }
    if (c == '"') in_string = true;
    else if (c == ';') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '(' || c == '[') ++depth;
    else if (c == ')' || c == ']') --depth;
  }
  return depth <= 0 && !in_string;
}

// Lines typed at a terminal are UTF-8; the reader takes Windows-1252 bytes,
// converted as the console converts them.
std::string to_windows1252(const std::string& utf8) { return platform::utf8_to_windows1252(utf8); }

class LineInput {
 public:
  LineInput() : interactive_(isatty(STDIN_FILENO) != 0) {
    if (interactive_) {
      history_path_ = std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.orvane_history";
      read_history(history_path_.c_str());
    }
  }
  ~LineInput() {
    if (interactive_) write_history(history_path_.c_str());
  }
  bool interactive() const { return interactive_; }
  // One line without its end; false at the end of input.
  bool get(const char* prompt, std::string& line) {
    if (!interactive_) return static_cast<bool>(std::getline(std::cin, line));
    char* text = readline(prompt);
    if (!text) return false;
    line = text;
    if (!line.empty()) add_history(text);
    std::free(text);
    return true;
  }

 private:
  bool interactive_;
  std::string history_path_;
};

}  // namespace

int repl_command(const MemoryConfig& config) {
  shell::LispSession session(config);
  LineInput input;
  std::string buffer, line;
  while (input.get(buffer.empty() ? "? " : "  ", line)) {
    buffer += to_windows1252(line);
    buffer += '\n';
    if (!complete(buffer)) continue;
    TextSource source(buffer);
    DatumReader reader(source);
    for (;;) {
      std::optional<Value> datum;
      try {
        datum = reader.next();
      } catch (const Thrower&) {
        continue;
      } catch (const ErrorPrinting&) {
        continue;
      }
      if (!datum) break;
      Value result;
      if (session.eval_datum(*datum, &result) && result != kNoValue) session.show_result(result);
    }
    buffer.clear();
  }
  if (input.interactive()) {
    platform::host().write_terminal("\r");
    platform::host().flush_terminal();
  }
  return 0;
}

}  // namespace orvane::app
