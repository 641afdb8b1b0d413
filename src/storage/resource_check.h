// A full check of a resource file's bytes: every inconsistency, with the
// byte offset where it lies, rather than the first reason to refuse.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

enum class Severity {
  error,    // the run-time refuses the file, or some resource cannot be read
  warning,  // readable, but not as this program writes files
  note,     // worth knowing (unused space, empty types)
};

struct Finding {
  Severity severity = Severity::error;
  std::uint64_t offset = 0;  // byte offset in the file
  std::string message;
};

struct CheckReport {
  std::vector<Finding> findings;
  bool runtime_accepts = true;  // what openresfile would answer
  std::uint32_t types = 0;
  std::uint32_t resources = 0;

  bool has_errors() const {
    for (const Finding& f : findings)
      if (f.severity == Severity::error) return true;
    return false;
  }
};

CheckReport check_resource_file(std::span<const std::uint8_t> file);

std::string_view severity_name(Severity s);

}  // namespace orvane
