// Checking a title's Lisp sources with the reader before they are packed:
// every datum of every source is read, nothing is evaluated. Feature tests
// read the data of both branches, language texts ("#{...}") choose none,
// source-position forms read as while loading. Top-level forms that change
// the reader's syntax (dmc, ddc, typech, set-macro-character) are evaluated,
// so that what follows them reads as it will when the title loads.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace orvane::shell {

struct LispSource {
  std::string name;  // shown in problems: the file's path in the folder
  std::string text;
};

struct SourceProblem {
  std::string file;
  int line = 0;  // from 1
  std::string message;

  std::string describe() const { return file + ":" + std::to_string(line) + ": " + message; }
};

// The first problem of each source that does not read. Starts a run-time of
// its own: none may exist while it runs.
std::vector<SourceProblem> check_sources(std::span<const LispSource> sources);

}  // namespace orvane::shell
