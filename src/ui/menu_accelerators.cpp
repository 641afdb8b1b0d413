#include "ui/menu_accelerators.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "core/memory.h"
#include "core/symbols.h"
#include "platform/desktop/messages.h"

namespace orvane::ui {

namespace {

bool is_menu_form(Value v) {
  return is_pair(v) && car(v) == intern_keyword("menu") && is_pair(cdr(v)) && is_string(car(cdr(v))) &&
         cdr(cdr(v)) == kNil;
}

std::string lower(std::string_view s) {
  std::string out(s);
  std::ranges::transform(out, out.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

using namespace desktop;

// clang-format off
constexpr std::array<std::pair<char, std::uint8_t>, 11> kPunctuationKeys{{
    {';', VK_OEM_1}, {'=', VK_OEM_PLUS}, {',', VK_OEM_COMMA}, {'-', VK_OEM_MINUS}, {'.', VK_OEM_PERIOD},
    {'/', VK_OEM_2}, {'`', VK_OEM_3}, {'[', VK_OEM_4}, {'\\', VK_OEM_5}, {']', VK_OEM_6}, {'\'', 0xDE},
}};
constexpr std::array<std::pair<std::string_view, std::uint8_t>, 11> kNamedKeys{{
    {"del", VK_DELETE}, {"delete", VK_DELETE}, {"ins", VK_INSERT}, {"insert", VK_INSERT}, {"space", VK_SPACE},
    {"tab", VK_TAB}, {"home", VK_HOME}, {"end", VK_END}, {"pgup", VK_PRIOR}, {"pgdn", VK_NEXT},
    {"backspace", VK_BACK},
}};
// clang-format on

}  // namespace

std::optional<std::string> accelerator_key(Value accelerator) {
  if (is_pair(accelerator) && is_menu_form(car(accelerator))) accelerator = car(accelerator);
  if (!is_menu_form(accelerator)) return std::nullopt;
  return std::string(string_view_of(car(cdr(accelerator))));
}

std::string accelerator_text(std::string_view key) { return "\tCtrl+" + std::string(key); }

std::optional<int> accelerator_virtual_key(std::string_view key) {
  if (key.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(key[0]);
    if (std::isalpha(c)) return std::toupper(c);
    if (std::isdigit(c)) return c;
    for (auto [character, vk] : kPunctuationKeys)
      if (character == key[0]) return vk;
    return std::nullopt;
  }
  const std::string name = lower(key);
  const bool digits_after_f = name.size() >= 2 && name.size() <= 3 && name[0] == 'f' &&
                              std::all_of(name.begin() + 1, name.end(),
                                          [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  if (digits_after_f) {
    const int n = std::stoi(name.substr(1));
    if (n >= 1 && n <= 15) return desktop::VK_F1 + n - 1;
    return std::nullopt;
  }
  for (auto [text, vk] : kNamedKeys)
    if (text == name) return vk;
  return std::nullopt;
}

}  // namespace orvane::ui
