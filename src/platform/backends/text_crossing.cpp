#include "platform/backends/text_crossing.h"

#include <cstdio>

#include "platform/console.h"

namespace orvane::platform::backends {

std::optional<std::uint32_t> next_code_point(std::string_view text, std::size_t& pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
             : (lead & 0xF8) == 0xF0 ? 4 : 0;
  if (length == 0 || pos + length > text.size()) {
    ++pos;
    return std::nullopt;
  }
  std::uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return std::nullopt;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return std::nullopt;
  }
  pos += length;
  return cp;
}

std::optional<std::string> utf8_to_windows1252_exact(std::string_view text, std::string* problem) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t start = pos;
    auto cp = next_code_point(text, pos);
    if (!cp) {
      if (problem) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X at column %zu is not UTF-8",
                      static_cast<unsigned char>(text[start]), start + 1);
        *problem = buffer;
      }
      return std::nullopt;
    }
    int byte = unicode_to_windows1252(*cp);
    if (byte < 0) {
      if (problem) {
        char buffer[80];
        std::snprintf(buffer, sizeof buffer, "character U+%04X at column %zu is not in Windows-1252",
                      static_cast<unsigned>(*cp), start + 1);
        *problem = buffer;
      }
      return std::nullopt;
    }
    out += static_cast<char>(byte);
  }
  return out;
}

std::string utf8_to_windows1252_lossy(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    auto cp = next_code_point(text, pos);
    int byte = cp ? unicode_to_windows1252(*cp) : -1;
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

std::string host_text_to_desktop(std::string_view utf8) {
  std::string text = utf8_to_windows1252_lossy(utf8);
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
