#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "platform/backends/event_script.h"
#include "platform/backends/key_table.h"
#include "platform/backends/script_recorder.h"
#include "platform/backends/sdl_keys.h"
#include "platform/backends/text_crossing.h"
#include "platform/text.h"

namespace orvane::platform::backends {
namespace {

// SDL2's scan codes are part of its stable interface (USB usage numbers).
constexpr int kSdlReturn = 40, kSdlKeypadEnter = 88, kSdlLeft = 80, kSdlKeypad4 = 92, kSdlKeypadDivide = 84,
              kSdlDelete = 76, kSdlRightCtrl = 228, kSdlLeftCtrl = 224, kSdlRightAlt = 230, kSdlSlash = 56,
              kSdlCapsLock = 57;

TEST(KeyMapping, HostKeysCarryTheVirtualKeyAndTheExtendedBit) {
  struct Case {
    int scancode;
    std::uint8_t vk;
    std::uint16_t scan;
    bool extended;
  };
  for (Case c : {Case{kSdlReturn, 0x0D, 0x1C, false}, Case{kSdlKeypadEnter, 0x0D, 0x1C, true},
                 Case{kSdlLeft, 0x25, 0x4B, true}, Case{kSdlKeypad4, 0x64, 0x4B, false},
                 Case{kSdlKeypadDivide, 0x6F, 0x35, true}, Case{kSdlSlash, 0xBF, 0x35, false},
                 Case{kSdlDelete, 0x2E, 0x53, true}, Case{kSdlRightCtrl, 0x11, 0x1D, true},
                 Case{kSdlLeftCtrl, 0x11, 0x1D, false}, Case{kSdlRightAlt, 0x12, 0x38, true}}) {
    const KeyInfo* key = key_of_sdl_scancode(c.scancode);
    ASSERT_NE(key, nullptr) << c.scancode;
    EXPECT_EQ(key->virtual_key, c.vk) << key->name;
    EXPECT_EQ(key->scan_code, c.scan) << key->name;
    EXPECT_EQ(key->extended, c.extended) << key->name;
  }
  EXPECT_EQ(key_of_sdl_scancode(kSdlCapsLock), nullptr);
  EXPECT_EQ(key_of_sdl_scancode(-1), nullptr);
}

TEST(KeyMapping, EveryKeyHasOneHostKeyAndIsFoundAgainByItsCodes) {
  std::set<int> scancodes;
  for (const KeyInfo& key : all_keys()) {
    int scancode = sdl_scancode_of_key(key);
    EXPECT_NE(scancode, 0) << key.name;
    EXPECT_TRUE(scancodes.insert(scancode).second) << key.name;
    EXPECT_EQ(key_of_sdl_scancode(scancode), &key) << key.name;
    EXPECT_EQ(find_key(key.virtual_key, key.scan_code, key.extended), &key) << key.name;
  }
}

TEST(KeyMapping, TypedCharactersFollowShiftAndNotCtrlOrAlt) {
  const KeyInfo& quote = *find_key("'");
  EXPECT_EQ(typed_character(quote, false, false, false), '\'');
  EXPECT_EQ(typed_character(quote, true, false, false), '"');
  EXPECT_EQ(typed_character(*find_key("z"), true, false, false), 'Z');
  EXPECT_EQ(typed_character(*find_key("z"), false, true, false), 0);
  EXPECT_EQ(typed_character(*find_key("z"), false, false, true), 0);
  EXPECT_EQ(typed_character(*find_key("tab"), false, false, false), 0);
}

TEST(TextCrossing, HostTextBecomesWindows1252WithCarriageReturns) {
  // A character the code page lacks becomes "?"; a byte that is not UTF-8
  // is taken as the Windows-1252 character of its number, as everywhere else.
  EXPECT_EQ(host_text_to_desktop("a\r\nb\nc \xE2\x82\xAC \xE4\xB8\xAD caf\xE9"), "a\rb\rc \x80 ? caf\xE9");
  EXPECT_EQ(desktop_text_to_host("a\rb\r\nc\x80"), "a\nb\nc\xE2\x82\xAC");
  std::string problem;
  EXPECT_FALSE(utf8_to_windows1252_exact("\xC0\x80", &problem));  // an overlong NUL
  EXPECT_FALSE(utf8_to_windows1252_exact("\xED\xA0\x80", &problem));  // a surrogate
  EXPECT_FALSE(utf8_to_windows1252_exact("\xE2\x82", &problem));  // cut short
  EXPECT_EQ(utf8_to_windows1252_exact("\xC3\xA9", &problem), std::optional<std::string>("\xE9"));
}

TEST(TextCrossing, AgreesWithThePlatformTextUnitOnEveryByte) {
  for (int c = 1; c < 256; ++c) {
    if (c == '\r' || c == '\n') continue;
    const std::string byte(1, static_cast<char>(c));
    const std::string utf8 = windows1252_to_utf8(byte);
    EXPECT_EQ(desktop_text_to_host(byte), utf8) << c;
    EXPECT_EQ(host_text_to_desktop(utf8), byte) << c;
    EXPECT_EQ(host_text_to_desktop(byte), utf8_to_windows1252(byte)) << c;
    std::string problem;
    if (windows1252_defines(static_cast<unsigned char>(c))) {
      EXPECT_EQ(utf8_to_windows1252_exact(utf8, &problem), std::optional<std::string>(byte)) << c;
    }
  }
}

InputEvent event(InputEvent::Kind kind) {
  InputEvent e;
  e.kind = kind;
  return e;
}

TEST(ScriptRecorder, ARecordedSessionReplaysAsTheSameEvents) {
  using Kind = InputEvent::Kind;
  std::vector<std::pair<InputEvent, std::uint64_t>> session;
  auto add = [&](InputEvent e, std::uint64_t ms) { session.emplace_back(std::move(e), ms); };
  InputEvent move = event(Kind::mouse_move);
  move.position = {12, 34};
  add(move, 1000);
  InputEvent down = event(Kind::mouse_down);
  down.position = {12, 34};
  down.button = MouseButton::right;
  add(down, 1100);
  InputEvent up = down;
  up.kind = Kind::mouse_up;
  up.position = {15, 36};
  add(up, 1100);
  const KeyInfo& enter = *find_key("keypad-enter");
  InputEvent key = event(Kind::key_down);
  key.virtual_key = enter.virtual_key;
  key.scan_code = enter.scan_code;
  key.extended = true;
  add(key, 1500);
  InputEvent text = event(Kind::text);
  text.text = " \xE9!";
  add(text, 1500);
  key.kind = Kind::key_up;
  add(key, 1520);
  add(event(Kind::close_request), 2000);

  std::ostringstream out;
  ScriptRecorder recorder(out, 900);
  for (auto& [e, ms] : session) recorder.record(e, ms);
  ScriptParse replay = parse_event_script(out.str(), "recorded.txt");
  ASSERT_TRUE(replay.ok()) << replay.errors.front() << "\n" << out.str();

  // Typed text replays one character an event: compare the rest in order.
  std::vector<const ScriptStep*> inputs;
  for (const ScriptStep& step : replay.script.steps)
    if (step.event.kind != Kind::text) inputs.push_back(&step);
  std::erase_if(session, [](const auto& entry) { return entry.first.kind == Kind::text; });
  // The release at another place brings a move of its own first.
  ASSERT_EQ(inputs.size(), session.size() + 1) << out.str();
  std::size_t j = 0;
  for (std::size_t i = 0; i < session.size(); ++i, ++j) {
    const auto& [original, ms] = session[i];
    if (original.kind == Kind::mouse_up) {
      EXPECT_EQ(inputs[j]->event.kind, Kind::mouse_move);
      ++j;
    }
    const InputEvent& again = inputs[j]->event;
    EXPECT_EQ(again.kind, original.kind) << i;
    EXPECT_EQ(inputs[j]->time, ms - 900) << i;
    if (original.kind == Kind::mouse_move || original.kind == Kind::mouse_down || original.kind == Kind::mouse_up) {
      EXPECT_EQ(again.position, original.position) << i;
    }
    EXPECT_EQ(again.virtual_key, original.virtual_key) << i;
    EXPECT_EQ(again.extended, original.extended) << i;
  }
  std::string replayed_text;
  for (const ScriptStep& step : replay.script.steps)
    if (step.event.kind == Kind::text) replayed_text += step.event.text;
  EXPECT_EQ(replayed_text, text.text);
}

}  // namespace
}  // namespace orvane::platform::backends
