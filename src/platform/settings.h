// The run-time's settings file: an INI file in the user's configuration
// directory ($XDG_CONFIG_HOME/orvane/orvane.ini, or ~/.config/orvane/
// orvane.ini), read afresh whenever a setting is wanted, as the original
// read its Windows profile.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::platform {

// The contents of one INI file. Section and key names are compared without
// regard to case; values lose surrounding blanks and one pair of quotes.
// Lines starting with ";" or "#" are comments; the first of a repeated key
// wins, as in a Windows profile.
class IniFile {
 public:
  IniFile() = default;
  static IniFile parse(std::string_view text);
  // Missing or unreadable file: an empty IniFile.
  static IniFile load(const std::filesystem::path& path);

  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // The leading integer of the value (after an optional sign), or 0 when
  // the value has none; `fallback` when the key is missing.
  int get_int(std::string_view section, std::string_view key, int fallback) const;
  std::string get_string(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Every key of a section (in lower case, sorted) with its value.
  std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;

 private:
  std::map<std::string, std::string> values_;  // "section\nkey", lower case
};

// Where the settings file lives (it need not exist).
std::filesystem::path settings_path();
// The settings file as it is now.
IniFile load_settings();

}  // namespace orvane::platform
