#include "platform/backends/key_table.h"

#include <array>

namespace orvane::platform::backends {

namespace {

constexpr KeyInfo letter(std::string_view name, std::uint16_t scan) {
  char lower = name[0];
  return {name, static_cast<std::uint8_t>(lower - 'a' + 'A'), scan, false, lower,
          static_cast<char>(lower - 'a' + 'A')};
}

constexpr KeyInfo digit(std::string_view name, std::uint16_t scan, char shifted) {
  return {name, static_cast<std::uint8_t>(name[0]), scan, false, name[0], shifted};
}

constexpr KeyInfo plain(std::string_view name, std::uint8_t vk, std::uint16_t scan) {
  return {name, vk, scan, false, 0, 0};
}

constexpr KeyInfo navigation(std::string_view name, std::uint8_t vk, std::uint16_t scan) {
  return {name, vk, scan, true, 0, 0};
}

constexpr KeyInfo typing(std::string_view name, std::uint8_t vk, std::uint16_t scan, char text,
                         char shifted) {
  return {name, vk, scan, false, text, shifted};
}

// Num Lock is taken to be on: the keypad's digit keys type digits.
constexpr auto kKeys = std::to_array<KeyInfo>({
    letter("a", 0x1E), letter("b", 0x30), letter("c", 0x2E), letter("d", 0x20),
    letter("e", 0x12), letter("f", 0x21), letter("g", 0x22), letter("h", 0x23),
    letter("i", 0x17), letter("j", 0x24), letter("k", 0x25), letter("l", 0x26),
    letter("m", 0x32), letter("n", 0x31), letter("o", 0x18), letter("p", 0x19),
    letter("q", 0x10), letter("r", 0x13), letter("s", 0x1F), letter("t", 0x14),
    letter("u", 0x16), letter("v", 0x2F), letter("w", 0x11), letter("x", 0x2D),
    letter("y", 0x15), letter("z", 0x2C),
    digit("0", 0x0B, ')'), digit("1", 0x02, '!'), digit("2", 0x03, '@'), digit("3", 0x04, '#'),
    digit("4", 0x05, '$'), digit("5", 0x06, '%'), digit("6", 0x07, '^'), digit("7", 0x08, '&'),
    digit("8", 0x09, '*'), digit("9", 0x0A, '('),
    plain("f1", 0x70, 0x3B), plain("f2", 0x71, 0x3C), plain("f3", 0x72, 0x3D),
    plain("f4", 0x73, 0x3E), plain("f5", 0x74, 0x3F), plain("f6", 0x75, 0x40),
    plain("f7", 0x76, 0x41), plain("f8", 0x77, 0x42), plain("f9", 0x78, 0x43),
    plain("f10", 0x79, 0x44), plain("f11", 0x7A, 0x57), plain("f12", 0x7B, 0x58),
    plain("f13", 0x7C, 0x64), plain("f14", 0x7D, 0x65), plain("f15", 0x7E, 0x66),
    plain("enter", 0x0D, 0x1C), navigation("keypad-enter", 0x0D, 0x1C),
    plain("escape", 0x1B, 0x01), plain("tab", 0x09, 0x0F), plain("backspace", 0x08, 0x0E),
    navigation("delete", 0x2E, 0x53), navigation("insert", 0x2D, 0x52),
    navigation("home", 0x24, 0x47), navigation("end", 0x23, 0x4F),
    navigation("page-up", 0x21, 0x49), navigation("page-down", 0x22, 0x51),
    navigation("left", 0x25, 0x4B), navigation("right", 0x27, 0x4D),
    navigation("up", 0x26, 0x48), navigation("down", 0x28, 0x50),
    typing("space", 0x20, 0x39, ' ', ' '),
    typing("keypad-0", 0x60, 0x52, '0', '0'), typing("keypad-1", 0x61, 0x4F, '1', '1'),
    typing("keypad-2", 0x62, 0x50, '2', '2'), typing("keypad-3", 0x63, 0x51, '3', '3'),
    typing("keypad-4", 0x64, 0x4B, '4', '4'), typing("keypad-5", 0x65, 0x4C, '5', '5'),
    typing("keypad-6", 0x66, 0x4D, '6', '6'), typing("keypad-7", 0x67, 0x47, '7', '7'),
    typing("keypad-8", 0x68, 0x48, '8', '8'), typing("keypad-9", 0x69, 0x49, '9', '9'),
    typing("keypad-*", 0x6A, 0x37, '*', '*'), typing("keypad-+", 0x6B, 0x4E, '+', '+'),
    typing("keypad--", 0x6D, 0x4A, '-', '-'), typing("keypad-.", 0x6E, 0x53, '.', '.'),
    {"keypad-/", 0x6F, 0x35, true, '/', '/'},
    typing("=", 0xBB, 0x0D, '=', '+'), typing(",", 0xBC, 0x33, ',', '<'),
    typing("-", 0xBD, 0x0C, '-', '_'), typing(".", 0xBE, 0x34, '.', '>'),
    typing("/", 0xBF, 0x35, '/', '?'), typing("`", 0xC0, 0x29, '`', '~'),
    typing("[", 0xDB, 0x1A, '[', '{'), typing("\\", 0xDC, 0x2B, '\\', '|'),
    typing("]", 0xDD, 0x1B, ']', '}'), typing(";", 0xBA, 0x27, ';', ':'),
    typing("'", 0xDE, 0x28, '\'', '"'),
    // The modifiers, for holding one down with key-down (a shift-click).
    plain("shift", kVirtualKeyShift, 0x2A), plain("right-shift", kVirtualKeyShift, 0x36),
    plain("ctrl", kVirtualKeyControl, 0x1D), navigation("right-ctrl", kVirtualKeyControl, 0x1D),
    plain("alt", kVirtualKeyAlt, 0x38), navigation("right-alt", kVirtualKeyAlt, 0x38),
});

}  // namespace

std::span<const KeyInfo> all_keys() { return kKeys; }

const KeyInfo* find_key(std::string_view name) {
  for (const KeyInfo& key : kKeys)
    if (key.name == name) return &key;
  return nullptr;
}

const KeyInfo* find_key(std::uint8_t virtual_key, std::uint16_t scan_code, bool extended) {
  const KeyInfo* by_code = nullptr;
  for (const KeyInfo& key : kKeys) {
    if (key.virtual_key != virtual_key || key.extended != extended) continue;
    if (key.scan_code == scan_code) return &key;
    if (!by_code) by_code = &key;
  }
  return by_code;
}

char typed_character(const KeyInfo& key, bool shift, bool control, bool alt) {
  if (control || alt) return 0;
  return shift ? key.shifted_text : key.text;
}

}  // namespace orvane::platform::backends
