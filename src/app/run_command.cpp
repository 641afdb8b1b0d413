#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/commands.h"
#include "shell/session.h"

namespace orvane::app {

namespace {

// Reads a whole file; false with a message when it cannot be read.
bool read_file(const std::string& path, std::string& text) {
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "orvane run: cannot read %s\n", path.c_str());
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    std::fprintf(stderr, "orvane run: error while reading %s\n", path.c_str());
    return false;
  }
  text = buffer.str();
  return true;
}

}  // namespace

int run_command(const MemoryConfig& config, const std::vector<std::string>& inputs,
                const std::vector<std::string>& expressions) {
  // Read every file first so that a missing one is reported before anything runs.
  std::vector<std::string> texts;
  for (const auto& path : inputs) {
    std::string text;
    if (!read_file(path, text)) return 1;
    texts.push_back(std::move(text));
  }
  bool ok = true;
  shell::LispSession session(config);
  for (const auto& text : texts) {
    TextSource source(text);
    ok = session.run_source(source) && ok;
  }
  for (const auto& expression : expressions) {
    TextSource source(expression);
    ok = session.run_source(source) && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace orvane::app
