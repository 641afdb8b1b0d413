// Reading the printed lines of event titles.
#pragma once

#include <string>
#include <vector>

#include "support/window_title.h"

namespace orvane::testing {

using Lines = std::vector<std::string>;

// The lines after the first that starts with `marker` (the set-up's end).
inline Lines lines_after(const std::string& out, const std::string& marker = "ready") {
  Lines tail;
  bool seen = false;
  for (const std::string& line : lines_of(out)) {
    if (seen) tail.push_back(line);
    if (!seen && line.rfind(marker, 0) == 0) seen = true;
  }
  return tail;
}

// The lines the predicate keeps, in order.
template <class Keep>
Lines lines_where(const Lines& lines, Keep keep) {
  Lines kept;
  for (const std::string& line : lines)
    if (keep(line)) kept.push_back(line);
  return kept;
}

inline bool has(const std::string& line, const char* part) { return line.find(part) != std::string::npos; }
inline bool starts(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

}  // namespace orvane::testing
