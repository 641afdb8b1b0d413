#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/event_script.h"
#include "platform/backends/key_table.h"

namespace orvane::platform::backends {
namespace {

using Kind = InputEvent::Kind;

ScriptParse parse(std::string_view text) { return parse_event_script(text, "events.txt"); }

EventScript parse_ok(std::string_view text) {
  ScriptParse result = parse(text);
  EXPECT_TRUE(result.ok()) << (result.errors.empty() ? "" : result.errors.front());
  return result.script;
}

std::vector<Kind> kinds(const EventScript& script) {
  std::vector<Kind> out;
  for (const ScriptStep& step : script.steps)
    if (step.kind == ScriptStep::Kind::input) out.push_back(step.event.kind);
  return out;
}

std::string first_error(std::string_view text) {
  ScriptParse result = parse(text);
  return result.errors.empty() ? std::string("(no error)") : result.errors.front();
}

TEST(EventScriptParser, MouseCommandsBecomeEventsAtTheirPositions) {
  EventScript s = parse_ok(
      "move 10 20\n"
      "press\n"
      "release right\n"
      "click 30 40 middle\n");
  ASSERT_EQ(kinds(s), (std::vector<Kind>{Kind::mouse_move, Kind::mouse_down, Kind::mouse_up, Kind::mouse_move,
                                         Kind::mouse_down, Kind::mouse_up}));
  EXPECT_EQ(s.steps[1].event.position, (raster::IntPoint{10, 20}));
  EXPECT_EQ(s.steps[1].event.button, MouseButton::left);
  EXPECT_EQ(s.steps[2].event.button, MouseButton::right);
  EXPECT_EQ(s.steps[3].event.position, (raster::IntPoint{30, 40}));
  EXPECT_EQ(s.steps[4].event.button, MouseButton::middle);
  EXPECT_EQ(s.steps[5].event.position, (raster::IntPoint{30, 40}));
}

TEST(EventScriptParser, DoubleClickIsTwoClicksAtOneTimeTheSecondCountingTwo) {
  EventScript s = parse_ok("wait 100\ndouble-click 5 6\n");
  ASSERT_EQ(kinds(s), (std::vector<Kind>{Kind::mouse_move, Kind::mouse_down, Kind::mouse_up, Kind::mouse_down,
                                         Kind::mouse_up}));
  for (const ScriptStep& step : s.steps) EXPECT_EQ(step.time, 100u);
  EXPECT_EQ(s.steps[1].event.clicks, 1);
  EXPECT_EQ(s.steps[3].event.clicks, 2);
}

TEST(EventScriptParser, QuickClicksCountAsADoubleOnlyWhenCloseInTimeAndPlace) {
  EventScript near = parse_ok("click 5 5\nwait 400\nclick 7 7\n");
  EXPECT_EQ(near.steps[4].event.clicks, 2);
  EventScript slow = parse_ok("click 5 5\nwait 600\nclick 5 5\n");
  EXPECT_EQ(slow.steps[4].event.clicks, 1);
  EventScript far = parse_ok("click 5 5\nclick 50 5\n");
  EXPECT_EQ(far.steps[4].event.clicks, 1);
  EventScript other = parse_ok("click 5 5\nclick 5 5 right\n");
  EXPECT_EQ(other.steps[4].event.clicks, 1);
  // A third quick click starts a new pair, as on the host.
  EventScript triple = parse_ok("click 5 5\nclick 5 5\nclick 5 5\n");
  EXPECT_EQ(triple.steps[7].event.clicks, 1);
}

TEST(EventScriptParser, DragPressesMovesInStepsAndReleasesAtTheEnd) {
  EventScript s = parse_ok("drag 0 0 80 40\n");
  ASSERT_EQ(s.steps.size(), 1u + 1 + kDefaultDragSteps + 1);
  EXPECT_EQ(s.steps[1].event.kind, Kind::mouse_down);
  EXPECT_EQ(s.steps[2].event.position, (raster::IntPoint{10, 5}));
  EXPECT_EQ(s.steps[9].event.position, (raster::IntPoint{80, 40}));
  EXPECT_EQ(s.steps[10].event.kind, Kind::mouse_up);
  EXPECT_EQ(s.steps[10].event.position, (raster::IntPoint{80, 40}));
  EventScript three = parse_ok("drag 10 10 -20 10 3\n");
  ASSERT_EQ(three.steps.size(), 6u);
  EXPECT_EQ(three.steps[2].event.position, (raster::IntPoint{0, 10}));
  EXPECT_EQ(three.steps[4].event.position, (raster::IntPoint{-20, 10}));
}

TEST(EventScriptParser, WaitMovesTheTimelineAndOtherCommandsShareIt) {
  EventScript s = parse_ok("move 1 1\nwait 250\nclick 2 2\nframe a.png\nwait 50\nkey a\nwait 10\n");
  EXPECT_EQ(s.steps[0].time, 0u);
  EXPECT_EQ(s.steps[1].time, 250u);
  EXPECT_EQ(s.steps[3].time, 250u);
  EXPECT_EQ(s.steps[4].kind, ScriptStep::Kind::frame);
  EXPECT_EQ(s.steps[4].frame_file, "a.png");
  EXPECT_EQ(s.steps[4].time, 250u);
  EXPECT_EQ(s.steps[4].line, 4);
  EXPECT_EQ(s.steps[5].time, 300u);
  EXPECT_EQ(s.end_time, 310u);
}

TEST(EventScriptParser, CommentsBlankLinesAndCarriageReturnsAreIgnored) {
  EventScript s = parse_ok("# a comment\n\n   \n\t# indented comment\r\nmove 1 2\r\n  close\nquit");
  EXPECT_EQ(kinds(s), (std::vector<Kind>{Kind::mouse_move, Kind::close_request, Kind::quit}));
  EXPECT_EQ(s.steps[0].line, 5);
}

TEST(EventScriptParser, KeyStrokePressesModifiersAroundTheKeyAndTypesItsCharacter) {
  EventScript s = parse_ok("key shift+a\n");
  ASSERT_EQ(kinds(s), (std::vector<Kind>{Kind::key_down, Kind::key_down, Kind::text, Kind::key_up, Kind::key_up}));
  EXPECT_EQ(s.steps[0].event.virtual_key, kVirtualKeyShift);
  EXPECT_TRUE(s.steps[0].event.modifiers.shift);
  EXPECT_EQ(s.steps[1].event.virtual_key, 'A');
  EXPECT_EQ(s.steps[1].event.scan_code, 0x1E);
  EXPECT_TRUE(s.steps[1].event.modifiers.shift);
  EXPECT_EQ(s.steps[2].event.text, "A");
  EXPECT_EQ(s.steps[3].event.virtual_key, 'A');
  EXPECT_EQ(s.steps[4].event.virtual_key, kVirtualKeyShift);
  EXPECT_FALSE(s.steps[4].event.modifiers.shift);
}

TEST(EventScriptParser, ShiftPicksTheShiftedCharacterAndCtrlOrAltTypeNothing) {
  auto typed = [](std::string_view line) {
    std::string text;
    for (const ScriptStep& step : parse_ok(line).steps)
      if (step.event.kind == Kind::text) text += step.event.text;
    return text;
  };
  EXPECT_EQ(typed("key 1"), "1");
  EXPECT_EQ(typed("key shift+1"), "!");
  EXPECT_EQ(typed("key shift+/"), "?");
  EXPECT_EQ(typed("key shift+;"), ":");
  EXPECT_EQ(typed("key space"), " ");
  EXPECT_EQ(typed("key keypad-7"), "7");
  EXPECT_EQ(typed("key keypad-/"), "/");
  EXPECT_EQ(typed("key ctrl+c"), "");
  EXPECT_EQ(typed("key alt+f"), "");
  EXPECT_EQ(typed("key ctrl+shift+alt+x"), "");
  EXPECT_EQ(typed("key enter"), "");
  EXPECT_EQ(typed("key f5"), "");
  // Held with key-down, Shift still applies.
  EXPECT_EQ(typed("key-down shift\nkey b\nkey-up shift\nkey b"), "Bb");
}

TEST(EventScriptParser, ModifiersMayComeInAnyOrderButOnlyOnce) {
  EventScript s = parse_ok("key alt+ctrl+f4\n");
  EXPECT_EQ(s.steps[2].event.virtual_key, 0x73);
  EXPECT_TRUE(s.steps[2].event.modifiers.alt);
  EXPECT_TRUE(s.steps[2].event.modifiers.control);
  EXPECT_EQ(first_error("key ctrl+ctrl+a"), "events.txt:1: modifier 'ctrl' given twice");
  // "keypad-+" and a lone "+"-ended name are names, not modifiers.
  EXPECT_TRUE(parse("key ctrl+keypad-+").ok());
}

TEST(EventScriptParser, EveryKeyNameIsAccepted) {
  for (const KeyInfo& key : all_keys()) {
    EventScript s = parse_ok("key " + std::string(key.name));
    ASSERT_FALSE(s.steps.empty()) << key.name;
    const ScriptStep* down = nullptr;
    for (const ScriptStep& step : s.steps)
      if (step.event.kind == Kind::key_down && step.event.scan_code == key.scan_code &&
          step.event.extended == key.extended)
        down = &step;
    ASSERT_NE(down, nullptr) << key.name;
    EXPECT_EQ(down->event.virtual_key, key.virtual_key) << key.name;
    EventScript alone = parse_ok("key-down " + std::string(key.name) + "\nkey-up " + std::string(key.name));
    EXPECT_EQ(kinds(alone), (std::vector<Kind>{Kind::key_down, Kind::key_up})) << key.name;
  }
}

TEST(EventScriptParser, TheNamedKeysOfTheKeyboardAreAllThere) {
  std::vector<std::string> names = {"enter", "keypad-enter", "escape", "tab", "backspace", "delete", "insert",
                                    "home", "end", "page-up", "page-down", "left", "right", "up", "down", "space",
                                    "keypad-*", "keypad-+", "keypad--", "keypad-.", "keypad-/",
                                    "=", ",", "-", ".", "/", "`", "[", "\\", "]", ";"};
  for (char c = 'a'; c <= 'z'; ++c) names.emplace_back(1, c);
  for (char c = '0'; c <= '9'; ++c) names.emplace_back(1, c);
  for (int i = 0; i <= 9; ++i) names.push_back("keypad-" + std::to_string(i));
  for (int i = 1; i <= 15; ++i) names.push_back("f" + std::to_string(i));
  for (const std::string& name : names) EXPECT_NE(find_key(name), nullptr) << name;
  EXPECT_EQ(first_error("key f16"), "events.txt:1: unknown key name 'f16'");
}

TEST(EventScriptParser, TypeSendsTheRestOfTheLineAsWindows1252Characters) {
  EventScript s = parse_ok("type  Caf\xC3\xA9 \xE2\x82\xAC!\n");
  std::string text;
  for (const ScriptStep& step : s.steps) {
    EXPECT_EQ(step.event.kind, Kind::text);
    EXPECT_EQ(step.event.text.size(), 1u);
    text += step.event.text;
  }
  EXPECT_EQ(text, " Caf\xE9 \x80!");
}

TEST(EventScriptParser, MalformedLinesAreReportedWithTheirNumbers) {
  ScriptParse result = parse(
      "move 1 2\n"
      "jump 3\n"
      "move 1\n"
      "click 1 2 sideways\n"
      "wait -5\n"
      "wait soon\n"
      "key A\n"
      "type\n"
      "frame /etc/passwd\n"
      "frame ../up.png\n"
      "drag 0 0 1 1 0\n"
      "close now\n"
      "type \xE4\xB8\xAD\n"
      "type \xFF\xFE\n");
  ASSERT_EQ(result.errors.size(), 13u);
  EXPECT_EQ(result.errors[0], "events.txt:2: unknown command 'jump'");
  EXPECT_EQ(result.errors[1], "events.txt:3: expected 'move X Y'");
  EXPECT_EQ(result.errors[2], "events.txt:4: unknown mouse button 'sideways' (left, right or middle)");
  EXPECT_EQ(result.errors[3], "events.txt:5: wait '-5' is out of range (0 to 2147483647)");
  EXPECT_EQ(result.errors[4], "events.txt:6: wait 'soon' is not a whole number");
  EXPECT_EQ(result.errors[5], "events.txt:7: unknown key name 'A' (key names are lower case; shift+a types 'A')");
  EXPECT_EQ(result.errors[6], "events.txt:8: expected 'type TEXT'");
  EXPECT_EQ(result.errors[7], "events.txt:9: frame file '/etc/passwd' must be relative to the frames directory");
  EXPECT_EQ(result.errors[8], "events.txt:10: frame file '../up.png' must not leave the frames directory");
  EXPECT_EQ(result.errors[9], "events.txt:11: steps '0' is out of range (1 to 10000)");
  EXPECT_EQ(result.errors[10], "events.txt:12: expected 'close'");
  EXPECT_EQ(result.errors[11], "events.txt:13: cannot type this text: character U+4E2D at column 1 is not in Windows-1252");
  EXPECT_EQ(result.errors[12], "events.txt:14: cannot type this text: byte 0xFF at column 1 is not UTF-8");
}

TEST(EventScriptParser, HostileNumbersAreOutOfRangeNotWrapped) {
  EXPECT_EQ(first_error("wait 99999999999999999999999"),
            "events.txt:1: wait '99999999999999999999999' is out of range (0 to 2147483647)");
  EXPECT_EQ(first_error("move 40000 0"), "events.txt:1: coordinate '40000' is out of range (-32767 to 32767)");
  EXPECT_EQ(first_error("move 0x10 0"), "events.txt:1: coordinate '0x10' is not a whole number");
  EXPECT_EQ(first_error("drag 0 0 1 1 99999999"), "events.txt:1: steps '99999999' is out of range (1 to 10000)");
  // Many long waits add up without overflow.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "wait 2147483647\n";
  EXPECT_EQ(parse_ok(many).end_time, std::uint64_t{1000} * 2147483647u);
}

TEST(EventScriptParser, LongLinesAndBinaryJunkGiveShortClearErrors) {
  std::string long_line = "type " + std::string(kMaxLineLength, 'x') + "\n";
  EXPECT_EQ(first_error(long_line), "events.txt:1: line is too long (65541 bytes; at most 65536)");
  EXPECT_TRUE(parse("type " + std::string(60000, 'y')).ok());

  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  ScriptParse result = parse(junk);
  EXPECT_FALSE(result.ok());
  EXPECT_LE(result.errors.size(), kMaxReportedErrors);
  for (const std::string& error : result.errors) {
    EXPECT_EQ(error.rfind("events.txt:", 0), 0u) << error;
    EXPECT_LT(error.size(), 200u);
    for (char c : error) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << error;
  }
  std::string nul("move 1 2\0junk\n", 14);
  EXPECT_EQ(first_error(nul), "events.txt:1: coordinate '2\\x00junk' is not a whole number");
}

TEST(EventScriptParser, AMalformedLineLeavesNothingOfItselfAndTheStateUnchanged) {
  ScriptParse result = parse("move 5 5\nclick 9 9 nowhere\npress\n");
  ASSERT_EQ(result.errors.size(), 1u);
  ASSERT_EQ(result.script.steps.size(), 2u);
  EXPECT_EQ(result.script.steps[1].event.position, (raster::IntPoint{5, 5}));
}

TEST(EventScriptParser, AMissingFileIsOneClearError) {
  ScriptParse result = load_event_script("/nonexistent/dir/events.txt");
  ASSERT_EQ(result.errors.size(), 1u);
  EXPECT_NE(result.errors[0].find("/nonexistent/dir/events.txt: cannot read the event script"), std::string::npos);
}

}  // namespace
}  // namespace orvane::platform::backends
