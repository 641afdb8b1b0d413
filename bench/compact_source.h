// Lisp source in the reader's compact byte encoding, for measuring the boot
// of a title whose "Load" resources hold it: every symbol becomes a one- to
// three-byte reference into the compact symbol table ("SYMB" 0), a logic
// variable (`_name`) a three-byte reference to its name, integers that fit
// 16 bits a three-byte fixnum. Enough for the generated benchmark
// source (parentheses, quotes, symbols, integers, no strings or comments).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane::bench {

class CompactEncoder {
 public:
  CompactEncoder() {
    for (int i = 0; i < 8; ++i) index_[std::string(kFixed[i])] = i;
  }

  std::string encode(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
      const char c = text[i];
      if (delimiter(c)) {
        out += c;
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < text.size() && !delimiter(text[end])) ++end;
      append_token(out, text.substr(i, end - i));
      i = end;
    }
    return out;
  }

  // The "SYMB" 0 resource: a big-endian count, then the names, each ended by a NUL.
  std::string symbol_list() const {
    std::string out{static_cast<char>(names_.size() >> 8), static_cast<char>(names_.size() & 0xff)};
    for (const std::string& name : names_) out += name + '\0';
    return out;
  }

 private:
  static constexpr std::string_view kFixed[8] = {"define", "quote", "set!", "t", "nil", "defslot", "when", "let"};
  static constexpr int kTwoByteEntries = 8 + 17 * 256;  // entries the two-byte form reaches

  static bool delimiter(char c) { return c == '(' || c == ')' || c == '\'' || c == ' ' || c == '\n' || c == '\t'; }

  static bool small_integer(std::string_view token, int& value) {
    std::size_t start = token.size() > 1 && token[0] == '-' ? 1 : 0;
    if (start == token.size() || token.size() - start > 5) return false;
    int v = 0;
    for (std::size_t i = start; i < token.size(); ++i) {
      if (token[i] < '0' || token[i] > '9') return false;
      v = v * 10 + (token[i] - '0');
    }
    value = start ? -v : v;
    return value >= INT16_MIN && value <= INT16_MAX;
  }

  void append_token(std::string& out, std::string_view token) {
    int value = 0;
    if (small_integer(token, value)) {
      out += '\x0c';
      out += static_cast<char>((value >> 8) & 0xff);
      out += static_cast<char>(value & 0xff);
      return;
    }
    if (token.size() > 1 && token[0] == '_') {
      const int entry = entry_of(token.substr(1));
      out += '\x0e';
      out += static_cast<char>(entry >> 8);
      out += static_cast<char>(entry & 0xff);
      return;
    }
    const int entry = entry_of(token);
    if (entry < 8) {
      out += static_cast<char>(entry);
    } else if (entry < kTwoByteEntries) {
      out += static_cast<char>(15 + (entry - 8) / 256);
      out += static_cast<char>((entry - 8) % 256);
    } else {
      out += '\x08';
      out += static_cast<char>(entry >> 8);
      out += static_cast<char>(entry & 0xff);
    }
  }

  int entry_of(std::string_view name) {
    auto [it, added] = index_.try_emplace(std::string(name), static_cast<int>(names_.size()) + 8);
    if (added) names_.emplace_back(name);
    return it->second;
  }

  std::unordered_map<std::string, int> index_;
  std::vector<std::string> names_;
};

}  // namespace orvane::bench
