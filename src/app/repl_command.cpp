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

// Lines typed at a terminal are UTF-8; the reader takes Windows-1252 bytes.
// A character the code page lacks becomes "?".
std::string to_windows1252(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto c = static_cast<unsigned char>(utf8[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size() + (extra == 0 ? 1 : 0)) {
      out += '?';
      ++i;
      continue;
    }
    std::uint32_t cp = extra == 0 ? c : c & (0x3f >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
    int mapped = platform::unicode_to_windows1252(cp);
    out += mapped < 0 ? '?' : static_cast<char>(mapped);
    i += extra + 1;
  }
  return out;
}

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
