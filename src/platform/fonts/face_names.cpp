#include "platform/fonts/face_names.h"

#include <algorithm>
#include <array>
#include <strings.h>

#include "platform/console.h"
#include "platform/fonts/freetype_faces.h"
#include "platform/fonts/symbol_faces.h"
#include "platform/host_paths.h"

namespace orvane::fonts {

namespace {

struct Substitute {
  std::string_view name;
  std::string_view family;
};

// Liberation's faces keep the advance widths of the Windows faces they
// replace, so text measured by a title lays out as it was designed.
constexpr std::array<Substitute, 10> kSubstitutes = {{
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"System", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    // A symbol face, reached through its code-point table (symbol_faces.h).
    {"Wingdings", kSymbolFamily},
}};

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::string substitute_family(std::string_view family) {
  for (const Substitute& s : kSubstitutes)
    if (same_name(s.name, family)) return std::string(s.family);
  return std::string(family);
}

bool family_installed(std::string_view family) {
  std::string utf8 = platform::windows1252_to_utf8(substitute_family(family));
  return detail::FaceStore::instance().find(utf8, false, false).has_value();
}

std::vector<std::string> installed_families() {
  std::vector<std::string> names;
  for (const std::string& utf8 : detail::FaceStore::instance().families()) {
    std::string name = platform::utf8_to_windows1252(utf8);
    // A name the code page cannot hold could not be asked for again.
    if (platform::windows1252_to_utf8(name) == utf8) names.push_back(std::move(name));
  }
  for (const Substitute& s : kSubstitutes) {
    bool served = std::any_of(names.begin(), names.end(),
                              [&](const std::string& n) { return same_name(n, s.family); });
    if (served) names.emplace_back(s.name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace orvane::fonts
