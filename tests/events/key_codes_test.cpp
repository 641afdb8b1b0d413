// The key-code table and the rule for offering a key to `system-key-down`.
#include <gtest/gtest.h>

#include "platform/desktop/messages.h"
#include "shell/key_codes.h"

namespace orvane::shell {
namespace {

using namespace desktop;

TEST(KeyCodes, EditingAndNavigationKeysHaveTheClassicCodes) {
  EXPECT_EQ(key_code(VK_BACK, false), 8);
  EXPECT_EQ(key_code(VK_TAB, false), 9);
  EXPECT_EQ(key_code(VK_ESCAPE, false), 27);
  EXPECT_EQ(key_code(VK_SPACE, false), 32);
  EXPECT_EQ(key_code(VK_PRIOR, true), 11);
  EXPECT_EQ(key_code(VK_NEXT, true), 12);
  EXPECT_EQ(key_code(VK_HOME, true), 1);
  EXPECT_EQ(key_code(VK_LEFT, true), 28);
  EXPECT_EQ(key_code(VK_UP, true), 30);
  EXPECT_EQ(key_code(VK_RIGHT, true), 29);
  EXPECT_EQ(key_code(VK_DOWN, true), 31);
  EXPECT_EQ(key_code(VK_INSERT, true), 5);
  EXPECT_EQ(key_code(VK_DELETE, true), 127);
}

TEST(KeyCodes, TheExtendedBitTellsTheKeypadEnterAndEnd) {
  EXPECT_EQ(key_code(VK_RETURN, false), 13);
  EXPECT_EQ(key_code(VK_RETURN, true), 3);
  EXPECT_EQ(key_code(VK_END, false), 4);
  EXPECT_EQ(key_code(VK_END, true), 46);
  // Only those two depend on it.
  EXPECT_EQ(key_code(VK_HOME, false), key_code(VK_HOME, true));
  EXPECT_EQ(key_code('A', true), 'A');
}

TEST(KeyCodes, LettersDigitsKeypadAndPunctuation) {
  for (int c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(key_code(static_cast<std::uint8_t>(c), false), c);
  for (int c = '0'; c <= '9'; ++c) {
    EXPECT_EQ(key_code(static_cast<std::uint8_t>(c), false), c);
    EXPECT_EQ(key_code(static_cast<std::uint8_t>(VK_NUMPAD0 + (c - '0')), false), c);
  }
  EXPECT_EQ(key_code(VK_MULTIPLY, false), '*');
  EXPECT_EQ(key_code(VK_ADD, false), '+');
  EXPECT_EQ(key_code(VK_SUBTRACT, false), '-');
  EXPECT_EQ(key_code(VK_DECIMAL, false), '.');
  EXPECT_EQ(key_code(VK_DIVIDE, true), '/');
  EXPECT_EQ(key_code(VK_OEM_PLUS, false), '=');
  EXPECT_EQ(key_code(VK_OEM_COMMA, false), ',');
  EXPECT_EQ(key_code(VK_OEM_MINUS, false), '-');
  EXPECT_EQ(key_code(VK_OEM_PERIOD, false), '.');
  EXPECT_EQ(key_code(VK_OEM_2, false), '/');
  EXPECT_EQ(key_code(VK_OEM_3, false), '`');
  EXPECT_EQ(key_code(VK_OEM_4, false), '[');
  EXPECT_EQ(key_code(VK_OEM_5, false), '\\');
  EXPECT_EQ(key_code(VK_OEM_6, false), ']');
}

TEST(KeyCodes, FunctionKeysAre256PlusTheClassicKeyCode) {
  const int expected[] = {378, 376, 355, 374, 352, 353, 354, 356, 357, 365, 359, 367, 361, 363, 369};
  for (int k = 0; k < 15; ++k) EXPECT_EQ(key_code(static_cast<std::uint8_t>(VK_F1 + k), false), expected[k]) << k;
}

TEST(KeyCodes, KeysOutsideTheTableAreNotReported) {
  for (std::uint8_t vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_CAPITAL, VK_PAUSE, VK_NUMLOCK, VK_OEM_1,
                          std::uint8_t{0x7F} /* F16 */, std::uint8_t{0}, std::uint8_t{255}})
    EXPECT_EQ(key_code(vk, false), 0) << int(vk);
}

TEST(KeyCodes, LettersAndDigitsIncludeTheAccentedLettersButNotTheirNeighbours) {
  EXPECT_TRUE(is_letter_or_digit('a'));
  EXPECT_TRUE(is_letter_or_digit('Z'));
  EXPECT_TRUE(is_letter_or_digit('5'));
  EXPECT_TRUE(is_letter_or_digit(192));
  EXPECT_TRUE(is_letter_or_digit(214));
  EXPECT_FALSE(is_letter_or_digit(215));  // multiplication sign
  EXPECT_TRUE(is_letter_or_digit(216));
  EXPECT_TRUE(is_letter_or_digit(246));
  EXPECT_FALSE(is_letter_or_digit(247));  // division sign
  EXPECT_TRUE(is_letter_or_digit(255));
  EXPECT_FALSE(is_letter_or_digit(191));
  EXPECT_FALSE(is_letter_or_digit('@'));
  EXPECT_FALSE(is_letter_or_digit('['));
  EXPECT_FALSE(is_letter_or_digit(378));
}

TEST(KeyCodes, SystemKeyDownIsOfferedKeysThatAreNotTypedTextOrHaveControl) {
  EXPECT_TRUE(offers_system_key(378, false));
  EXPECT_TRUE(offers_system_key(13, false));
  EXPECT_FALSE(offers_system_key('A', false));
  EXPECT_FALSE(offers_system_key('7', false));
  EXPECT_TRUE(offers_system_key('A', true));
  EXPECT_FALSE(offers_system_key(0, true));
  EXPECT_FALSE(offers_system_key(0, false));
}

}  // namespace
}  // namespace orvane::shell
