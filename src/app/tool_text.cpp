#include "app/tool_text.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

#include "platform/console.h"

namespace orvane {

std::string terminal_text(std::string_view windows1252) {
  std::string out;
  for (char c : windows1252) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return platform::windows1252_to_utf8(out);
}

int report_failure(std::string_view tool, bool json_output, std::string_view message) {
  if (json_output)
    std::cout << nlohmann::json{{"ok", false}, {"error", message}}.dump(2) << '\n';
  else
    std::cerr << "orvane " << tool << ": " << message << '\n';
  return 1;
}

}  // namespace orvane
