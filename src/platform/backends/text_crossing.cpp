#include "platform/backends/text_crossing.h"

#include <cstdio>

#include "platform/text.h"

namespace orvane::platform::backends {

std::optional<std::string> utf8_to_windows1252_exact(std::string_view text, std::string* problem) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto decoded = decode_utf8(text.substr(pos));
    if (!decoded) {
      if (problem) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X at column %zu is not UTF-8",
                      static_cast<unsigned char>(text[pos]), pos + 1);
        *problem = buffer;
      }
      return std::nullopt;
    }
    const int byte = unicode_to_windows1252(decoded->code_point);
    if (byte < 0) {
      if (problem) {
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "character U+%04X at column %zu is not in Windows-1252",
                      static_cast<unsigned>(decoded->code_point), pos + 1);
        *problem = buffer;
      }
      return std::nullopt;
    }
    out += static_cast<char>(byte);
    pos += decoded->length;
  }
  return out;
}

std::string host_text_to_desktop(std::string_view utf8) {
  const std::string text = utf8_to_windows1252(utf8);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\n' ? '\r' : text[i];
  }
  return out;
}

std::string desktop_text_to_host(std::string_view windows1252) {
  std::string text;
  text.reserve(windows1252.size());
  for (std::size_t i = 0; i < windows1252.size(); ++i) {
    if (windows1252[i] == '\r') {
      text += '\n';
      if (i + 1 < windows1252.size() && windows1252[i + 1] == '\n') ++i;
    } else {
      text += windows1252[i];
    }
  }
  return windows1252_to_utf8(text);
}

}  // namespace orvane::platform::backends
