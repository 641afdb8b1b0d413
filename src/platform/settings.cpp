#include "platform/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orvane::platform {

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string key_of(std::string_view section, std::string_view key) {
  return lower(trim(section)) + '\n' + lower(trim(key));
}

}  // namespace

IniFile IniFile::parse(std::string_view text) {
  IniFile ini;
  std::string section;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      if (close != std::string_view::npos) section = std::string(line.substr(1, close - 1));
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    ini.values_.emplace(key_of(section, line.substr(0, eq)), std::string(value));
  }
  return ini;
}

IniFile IniFile::load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str());
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
  auto it = values_.find(key_of(section, key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

int IniFile::get_int(std::string_view section, std::string_view key, int fallback) const {
  auto v = get(section, key);
  if (!v) return fallback;
  std::string_view s = *v;
  bool negative = !s.empty() && s.front() == '-';
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  long long n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = std::min(n * 10 + (c - '0'), 0x7fffffffLL);
  }
  return static_cast<int>(negative ? -n : n);
}

std::string IniFile::get_string(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto v = get(section, key);
  return v ? *v : std::string(fallback);
}

std::vector<std::pair<std::string, std::string>> IniFile::entries(std::string_view section) const {
  std::string prefix = key_of(section, "");
  std::vector<std::pair<std::string, std::string>> out;
  for (auto it = values_.lower_bound(prefix); it != values_.end() && it->first.starts_with(prefix); ++it)
    out.emplace_back(it->first.substr(prefix.size()), it->second);
  return out;
}

std::filesystem::path settings_path() {
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".config";
  } else {
    base = ".";
  }
  return base / "orvane" / "orvane.ini";
}

IniFile load_settings() { return IniFile::load(settings_path()); }

}  // namespace orvane::platform
