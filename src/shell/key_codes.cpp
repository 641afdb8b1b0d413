#include "shell/key_codes.h"

#include <array>

#include "platform/desktop/messages.h"

namespace orvane::shell {

namespace {

using namespace desktop;

// F1-F15: 256 plus the classic Macintosh key code of the function key.
constexpr std::array<int, 15> kFunctionKeys = {378, 376, 355, 374, 352, 353, 354, 356,
                                               357, 365, 359, 367, 361, 363, 369};

constexpr std::array<int, 256> make_table() {
  std::array<int, 256> t{};
  t[VK_BACK] = 8;
  t[VK_TAB] = 9;
  t[VK_RETURN] = 13;
  t[VK_ESCAPE] = 27;
  t[VK_SPACE] = 32;
  t[VK_PRIOR] = 11;
  t[VK_NEXT] = 12;
  t[VK_END] = 4;
  t[VK_HOME] = 1;
  t[VK_LEFT] = 28;
  t[VK_UP] = 30;
  t[VK_RIGHT] = 29;
  t[VK_DOWN] = 31;
  t[VK_INSERT] = 5;
  t[VK_DELETE] = 127;
  for (int c = '0'; c <= '9'; ++c) t[c] = c;
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = c;
  for (int k = 0; k <= 9; ++k) t[VK_NUMPAD0 + k] = '0' + k;
  t[VK_MULTIPLY] = '*';
  t[VK_ADD] = '+';
  t[VK_SUBTRACT] = '-';
  t[VK_DECIMAL] = '.';
  t[VK_DIVIDE] = '/';
  for (int k = 0; k < 15; ++k) t[VK_F1 + k] = kFunctionKeys[k];
  t[VK_OEM_PLUS] = '=';
  t[VK_OEM_COMMA] = ',';
  t[VK_OEM_MINUS] = '-';
  t[VK_OEM_PERIOD] = '.';
  t[VK_OEM_2] = '/';
  t[VK_OEM_3] = '`';
  t[VK_OEM_4] = '[';
  t[VK_OEM_5] = '\\';
  t[VK_OEM_6] = ']';
  return t;
}

constexpr std::array<int, 256> kTable = make_table();

}  // namespace

int key_code(std::uint8_t virtual_key, bool extended) {
  if (extended && virtual_key == VK_RETURN) return 3;
  if (extended && virtual_key == VK_END) return 46;
  return kTable[virtual_key];
}

bool is_letter_or_digit(int code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) return true;
  return (code >= 192 && code <= 214) || (code >= 216 && code <= 246) || (code >= 248 && code <= 255);
}

}  // namespace orvane::shell
