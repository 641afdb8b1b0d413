#include "platform/text.h"

namespace orvane::platform {

int unicode_to_windows1252(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xa0 && code_point <= 0xff)) return static_cast<int>(code_point);
  for (int c = 0x80; c < 0xa0; ++c)
    if (windows1252_to_unicode(static_cast<unsigned char>(c)) == code_point) return c;
  return -1;
}

std::optional<Utf8Char> decode_utf8(std::string_view text) {
  if (text.empty()) return std::nullopt;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const std::size_t length = utf8_sequence_length(byte(0));
  if (length == 0 || text.size() < length) return std::nullopt;
  if (length == 1) return Utf8Char{byte(0), 1};
  char32_t cp = byte(0) & (0xff >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (byte(i) & 0x3f);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return std::nullopt;
  return Utf8Char{cp, length};
}

bool is_valid_utf8(std::string_view text) {
  while (!text.empty()) {
    auto decoded = decode_utf8(text);
    if (!decoded) return false;
    text.remove_prefix(decoded->length);
  }
  return true;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xc0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xe0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (cp & 0x3f));
  }
}

std::string windows1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) append_utf8(out, windows1252_to_unicode(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8_to_windows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    auto decoded = decode_utf8(utf8);
    if (!decoded) {
      out += utf8.front();
      utf8.remove_prefix(1);
      continue;
    }
    int mapped = unicode_to_windows1252(decoded->code_point);
    out += mapped < 0 ? '?' : static_cast<char>(mapped);
    utf8.remove_prefix(decoded->length);
  }
  return out;
}

bool names_equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (kUpperCase[static_cast<unsigned char>(a[i])] != kUpperCase[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

}  // namespace orvane::platform
