#include "platform/backends/sdl_keys.h"

#include <SDL.h>

#include <string_view>

namespace orvane::platform::backends {

namespace {

struct Pair {
  SDL_Scancode scancode;
  std::string_view name;
};

constexpr Pair kPairs[] = {
    {SDL_SCANCODE_A, "a"}, {SDL_SCANCODE_B, "b"}, {SDL_SCANCODE_C, "c"}, {SDL_SCANCODE_D, "d"},
    {SDL_SCANCODE_E, "e"}, {SDL_SCANCODE_F, "f"}, {SDL_SCANCODE_G, "g"}, {SDL_SCANCODE_H, "h"},
    {SDL_SCANCODE_I, "i"}, {SDL_SCANCODE_J, "j"}, {SDL_SCANCODE_K, "k"}, {SDL_SCANCODE_L, "l"},
    {SDL_SCANCODE_M, "m"}, {SDL_SCANCODE_N, "n"}, {SDL_SCANCODE_O, "o"}, {SDL_SCANCODE_P, "p"},
    {SDL_SCANCODE_Q, "q"}, {SDL_SCANCODE_R, "r"}, {SDL_SCANCODE_S, "s"}, {SDL_SCANCODE_T, "t"},
    {SDL_SCANCODE_U, "u"}, {SDL_SCANCODE_V, "v"}, {SDL_SCANCODE_W, "w"}, {SDL_SCANCODE_X, "x"},
    {SDL_SCANCODE_Y, "y"}, {SDL_SCANCODE_Z, "z"},
    {SDL_SCANCODE_0, "0"}, {SDL_SCANCODE_1, "1"}, {SDL_SCANCODE_2, "2"}, {SDL_SCANCODE_3, "3"},
    {SDL_SCANCODE_4, "4"}, {SDL_SCANCODE_5, "5"}, {SDL_SCANCODE_6, "6"}, {SDL_SCANCODE_7, "7"},
    {SDL_SCANCODE_8, "8"}, {SDL_SCANCODE_9, "9"},
    {SDL_SCANCODE_F1, "f1"}, {SDL_SCANCODE_F2, "f2"}, {SDL_SCANCODE_F3, "f3"}, {SDL_SCANCODE_F4, "f4"},
    {SDL_SCANCODE_F5, "f5"}, {SDL_SCANCODE_F6, "f6"}, {SDL_SCANCODE_F7, "f7"}, {SDL_SCANCODE_F8, "f8"},
    {SDL_SCANCODE_F9, "f9"}, {SDL_SCANCODE_F10, "f10"}, {SDL_SCANCODE_F11, "f11"},
    {SDL_SCANCODE_F12, "f12"}, {SDL_SCANCODE_F13, "f13"}, {SDL_SCANCODE_F14, "f14"},
    {SDL_SCANCODE_F15, "f15"},
    {SDL_SCANCODE_RETURN, "enter"}, {SDL_SCANCODE_KP_ENTER, "keypad-enter"},
    {SDL_SCANCODE_ESCAPE, "escape"}, {SDL_SCANCODE_TAB, "tab"}, {SDL_SCANCODE_BACKSPACE, "backspace"},
    {SDL_SCANCODE_DELETE, "delete"}, {SDL_SCANCODE_INSERT, "insert"}, {SDL_SCANCODE_HOME, "home"},
    {SDL_SCANCODE_END, "end"}, {SDL_SCANCODE_PAGEUP, "page-up"}, {SDL_SCANCODE_PAGEDOWN, "page-down"},
    {SDL_SCANCODE_LEFT, "left"}, {SDL_SCANCODE_RIGHT, "right"}, {SDL_SCANCODE_UP, "up"},
    {SDL_SCANCODE_DOWN, "down"}, {SDL_SCANCODE_SPACE, "space"},
    {SDL_SCANCODE_KP_0, "keypad-0"}, {SDL_SCANCODE_KP_1, "keypad-1"}, {SDL_SCANCODE_KP_2, "keypad-2"},
    {SDL_SCANCODE_KP_3, "keypad-3"}, {SDL_SCANCODE_KP_4, "keypad-4"}, {SDL_SCANCODE_KP_5, "keypad-5"},
    {SDL_SCANCODE_KP_6, "keypad-6"}, {SDL_SCANCODE_KP_7, "keypad-7"}, {SDL_SCANCODE_KP_8, "keypad-8"},
    {SDL_SCANCODE_KP_9, "keypad-9"}, {SDL_SCANCODE_KP_MULTIPLY, "keypad-*"},
    {SDL_SCANCODE_KP_PLUS, "keypad-+"}, {SDL_SCANCODE_KP_MINUS, "keypad--"},
    {SDL_SCANCODE_KP_PERIOD, "keypad-."}, {SDL_SCANCODE_KP_DIVIDE, "keypad-/"},
    {SDL_SCANCODE_EQUALS, "="}, {SDL_SCANCODE_COMMA, ","}, {SDL_SCANCODE_MINUS, "-"},
    {SDL_SCANCODE_PERIOD, "."}, {SDL_SCANCODE_SLASH, "/"}, {SDL_SCANCODE_GRAVE, "`"},
    {SDL_SCANCODE_LEFTBRACKET, "["}, {SDL_SCANCODE_BACKSLASH, "\\"}, {SDL_SCANCODE_RIGHTBRACKET, "]"},
    {SDL_SCANCODE_SEMICOLON, ";"}, {SDL_SCANCODE_APOSTROPHE, "'"},
    {SDL_SCANCODE_LSHIFT, "shift"}, {SDL_SCANCODE_RSHIFT, "right-shift"},
    {SDL_SCANCODE_LCTRL, "ctrl"}, {SDL_SCANCODE_RCTRL, "right-ctrl"},
    {SDL_SCANCODE_LALT, "alt"}, {SDL_SCANCODE_RALT, "right-alt"},
};

}  // namespace

const KeyInfo* key_of_sdl_scancode(int scancode) {
  for (const Pair& pair : kPairs)
    if (pair.scancode == scancode) return find_key(pair.name);
  return nullptr;
}

int sdl_scancode_of_key(const KeyInfo& key) {
  for (const Pair& pair : kPairs)
    if (pair.name == key.name) return pair.scancode;
  return SDL_SCANCODE_UNKNOWN;
}

}  // namespace orvane::platform::backends
