#include "platform/backends/event_script.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/backends/key_table.h"
#include "platform/backends/text_crossing.h"

namespace orvane::platform::backends {

namespace {

// A script larger than this is refused before it is read.
constexpr std::uintmax_t kMaxScriptBytes = 64u << 20;

// A token as an error message shows it: printable ASCII as it stands, other
// bytes as \xNN, long tokens cut short.
std::string shown(std::string_view token) {
  constexpr std::size_t kShownLength = 40;
  std::string out;
  for (std::size_t i = 0; i < token.size() && i < kShownLength; ++i) {
    auto c = static_cast<unsigned char>(token[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
    }
  }
  if (token.size() > kShownLength) out += "...";
  return out;
}

std::vector<std::string_view> split_words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

struct LineError {
  std::string message;
};

class Compiler {
 public:
  explicit Compiler(std::string_view file_name) : file_name_(file_name) {}

  void line(int number, std::string_view text);
  ScriptParse finish() {
    result_.script.end_time = time_;
    return std::move(result_);
  }

 private:
  void error(const std::string& message) {
    if (result_.errors.size() < kMaxReportedErrors)
      result_.errors.push_back(file_name_ + ":" + std::to_string(line_) + ": " + message);
  }

  void command(std::string_view name, std::span<const std::string_view> args, std::string_view rest);
  std::int64_t number(std::string_view word, std::int64_t low, std::int64_t high, const char* what);
  raster::IntPoint point(std::string_view x, std::string_view y);
  MouseButton button(std::span<const std::string_view> args, std::size_t index);
  void expect_arguments(std::span<const std::string_view> args, std::size_t least, std::size_t most,
                        std::string_view usage);

  void emit(InputEvent event) {
    ScriptStep step;
    step.kind = ScriptStep::Kind::input;
    step.time = time_;
    step.event = std::move(event);
    step.line = line_;
    pending_.push_back(std::move(step));
  }
  InputEvent mouse(InputEvent::Kind kind, MouseButton b = MouseButton::left) {
    InputEvent e;
    e.kind = kind;
    e.position = mouse_;
    e.button = b;
    e.modifiers = held_;
    return e;
  }
  void move(raster::IntPoint p) {
    mouse_ = p;
    emit(mouse(InputEvent::Kind::mouse_move));
  }
  void press(MouseButton b);
  void release(MouseButton b) { emit(mouse(InputEvent::Kind::mouse_up, b)); }
  void key_event(const KeyInfo& key, bool down);
  void stroke(std::string_view spec);
  void type(std::string_view text);

  std::string file_name_;
  ScriptParse result_;
  std::vector<ScriptStep> pending_;  // this line's steps, kept only when it is sound
  int line_ = 0;
  std::uint64_t time_ = 0;
  raster::IntPoint mouse_;
  Modifiers held_;
  struct LastPress {
    std::uint64_t time = 0;
    MouseButton button = MouseButton::left;
    raster::IntPoint position;
    int clicks = 0;
  } last_press_;
};

void Compiler::line(int number, std::string_view text) {
  line_ = number;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (text.size() > kMaxLineLength) {
    error("line is too long (" + std::to_string(text.size()) + " bytes; at most " +
          std::to_string(kMaxLineLength) + ")");
    return;
  }
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos || text[start] == '#') return;
  text.remove_prefix(start);
  std::size_t name_end = text.find_first_of(" \t");
  std::string_view name = text.substr(0, name_end);
  std::string_view rest = name_end == std::string_view::npos ? std::string_view() : text.substr(name_end + 1);
  std::vector<std::string_view> args = split_words(rest);
  pending_.clear();
  auto saved_time = time_;
  auto saved_mouse = mouse_;
  auto saved_held = held_;
  auto saved_press = last_press_;
  std::size_t errors_before = result_.errors.size();
  bool failed = false;
  try {
    command(name, args, rest);
  } catch (const LineError& e) {
    error(e.message);
    failed = true;
  }
  if (failed || result_.errors.size() != errors_before) {
    time_ = saved_time;
    mouse_ = saved_mouse;
    held_ = saved_held;
    last_press_ = saved_press;
    return;
  }
  for (ScriptStep& step : pending_) result_.script.steps.push_back(std::move(step));
}

std::int64_t Compiler::number(std::string_view word, std::int64_t low, std::int64_t high, const char* what) {
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && end == word.data() + word.size() &&
                                               (value < low || value > high)))
    throw LineError{std::string(what) + " '" + shown(word) + "' is out of range (" + std::to_string(low) +
                    " to " + std::to_string(high) + ")"};
  if (ec != std::errc() || end != word.data() + word.size())
    throw LineError{std::string(what) + " '" + shown(word) + "' is not a whole number"};
  return value;
}

raster::IntPoint Compiler::point(std::string_view x, std::string_view y) {
  return {static_cast<int>(number(x, -kMaxCoordinate, kMaxCoordinate, "coordinate")),
          static_cast<int>(number(y, -kMaxCoordinate, kMaxCoordinate, "coordinate"))};
}

MouseButton Compiler::button(std::span<const std::string_view> args, std::size_t index) {
  if (args.size() <= index) return MouseButton::left;
  std::string_view word = args[index];
  if (word == "left") return MouseButton::left;
  if (word == "right") return MouseButton::right;
  if (word == "middle") return MouseButton::middle;
  throw LineError{"unknown mouse button '" + shown(word) + "' (left, right or middle)"};
}

void Compiler::expect_arguments(std::span<const std::string_view> args, std::size_t least, std::size_t most,
                                std::string_view usage) {
  if (args.size() < least || args.size() > most)
    throw LineError{"expected '" + std::string(usage) + "'"};
}

void Compiler::press(MouseButton b) {
  InputEvent e = mouse(InputEvent::Kind::mouse_down, b);
  bool near = std::abs(mouse_.x - last_press_.position.x) <= kDoubleClickDistance &&
              std::abs(mouse_.y - last_press_.position.y) <= kDoubleClickDistance;
  bool twice = last_press_.clicks == 1 && last_press_.button == b && near &&
               time_ - last_press_.time <= kDoubleClickTime;
  e.clicks = twice ? 2 : 1;
  last_press_ = {time_, b, mouse_, e.clicks};
  emit(std::move(e));
}

void Compiler::key_event(const KeyInfo& key, bool down) {
  bool* modifier = key.virtual_key == kVirtualKeyShift     ? &held_.shift
                   : key.virtual_key == kVirtualKeyControl ? &held_.control
                   : key.virtual_key == kVirtualKeyAlt     ? &held_.alt
                                                           : nullptr;
  // A modifier's own event carries the state after it, as hosts report it.
  if (modifier) *modifier = down;
  InputEvent e;
  e.kind = down ? InputEvent::Kind::key_down : InputEvent::Kind::key_up;
  e.position = mouse_;
  e.virtual_key = key.virtual_key;
  e.extended = key.extended;
  e.scan_code = key.scan_code;
  e.modifiers = held_;
  emit(std::move(e));
}

const KeyInfo& named_key(std::string_view name) {
  if (const KeyInfo* key = find_key(name)) return *key;
  std::string message = "unknown key name '" + shown(name) + "'";
  bool upper = false;
  for (char c : name) upper |= c >= 'A' && c <= 'Z';
  if (upper) message += " (key names are lower case; shift+a types 'A')";
  throw LineError{message};
}

void Compiler::stroke(std::string_view spec) {
  struct Prefix {
    std::string_view text;
    std::string_view key;
  };
  static constexpr Prefix kPrefixes[] = {{"ctrl+", "ctrl"}, {"shift+", "shift"}, {"alt+", "alt"}};
  std::vector<const KeyInfo*> modifiers;
  std::string_view name = spec;
  for (bool found = true; found;) {
    found = false;
    for (const Prefix& prefix : kPrefixes) {
      if (name.size() > prefix.text.size() && name.starts_with(prefix.text)) {
        const KeyInfo* key = find_key(prefix.key);
        for (const KeyInfo* seen : modifiers)
          if (seen == key) throw LineError{"modifier '" + std::string(prefix.key) + "' given twice"};
        modifiers.push_back(key);
        name.remove_prefix(prefix.text.size());
        found = true;
      }
    }
  }
  const KeyInfo& key = named_key(name);
  std::vector<const KeyInfo*> pressed;
  for (const KeyInfo* modifier : modifiers) {
    bool already = modifier->virtual_key == kVirtualKeyShift     ? held_.shift
                   : modifier->virtual_key == kVirtualKeyControl ? held_.control
                                                                 : held_.alt;
    if (already) continue;
    key_event(*modifier, true);
    pressed.push_back(modifier);
  }
  key_event(key, true);
  if (char c = typed_character(key, held_.shift, held_.control, held_.alt)) {
    InputEvent e;
    e.kind = InputEvent::Kind::text;
    e.position = mouse_;
    e.modifiers = held_;
    e.text = std::string(1, c);
    emit(std::move(e));
  }
  key_event(key, false);
  for (auto it = pressed.rbegin(); it != pressed.rend(); ++it) key_event(**it, false);
}

void Compiler::type(std::string_view text) {
  if (text.empty()) throw LineError{"expected 'type TEXT'"};
  std::string problem;
  auto converted = utf8_to_windows1252_exact(text, &problem);
  if (!converted) throw LineError{"cannot type this text: " + problem};
  for (char c : *converted) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      throw LineError{"cannot type control character \\x" + shown(std::string_view(&c, 1)).substr(2)};
    InputEvent e;
    e.kind = InputEvent::Kind::text;
    e.position = mouse_;
    e.modifiers = held_;
    e.text = std::string(1, c);
    emit(std::move(e));
  }
}

void Compiler::command(std::string_view name, std::span<const std::string_view> args, std::string_view rest) {
  using Kind = InputEvent::Kind;
  if (name == "wait") {
    expect_arguments(args, 1, 1, "wait MS");
    time_ += static_cast<std::uint64_t>(number(args[0], 0, kMaxWait, "wait"));
  } else if (name == "move") {
    expect_arguments(args, 2, 2, "move X Y");
    move(point(args[0], args[1]));
  } else if (name == "press" || name == "release") {
    expect_arguments(args, 0, 1, std::string(name) + " [left|right|middle]");
    MouseButton b = button(args, 0);
    if (name == "press") press(b);
    else release(b);
  } else if (name == "click") {
    expect_arguments(args, 2, 3, "click X Y [left|right|middle]");
    raster::IntPoint p = point(args[0], args[1]);
    MouseButton b = button(args, 2);
    move(p);
    press(b);
    release(b);
  } else if (name == "double-click") {
    expect_arguments(args, 2, 3, "double-click X Y [left|right|middle]");
    raster::IntPoint p = point(args[0], args[1]);
    MouseButton b = button(args, 2);
    last_press_.clicks = 0;  // the first click of the pair is never a double's second
    move(p);
    press(b);
    release(b);
    press(b);
    release(b);
  } else if (name == "drag") {
    expect_arguments(args, 4, 5, "drag X1 Y1 X2 Y2 [STEPS]");
    raster::IntPoint from = point(args[0], args[1]);
    raster::IntPoint to = point(args[2], args[3]);
    int steps = args.size() > 4 ? static_cast<int>(number(args[4], 1, kMaxDragSteps, "steps")) : kDefaultDragSteps;
    move(from);
    press(MouseButton::left);
    for (int i = 1; i <= steps; ++i)
      move({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    release(MouseButton::left);
  } else if (name == "key") {
    expect_arguments(args, 1, 1, "key [ctrl+][shift+][alt+]NAME");
    stroke(args[0]);
  } else if (name == "key-down" || name == "key-up") {
    expect_arguments(args, 1, 1, std::string(name) + " NAME");
    key_event(named_key(args[0]), name == "key-down");
  } else if (name == "type") {
    type(rest);
  } else if (name == "frame") {
    std::string_view file = rest;
    while (!file.empty() && (file.back() == ' ' || file.back() == '\t')) file.remove_suffix(1);
    while (!file.empty() && (file.front() == ' ' || file.front() == '\t')) file.remove_prefix(1);
    if (file.empty()) throw LineError{"expected 'frame FILE'"};
    std::filesystem::path path{std::string(file)};
    if (path.is_absolute()) throw LineError{"frame file '" + shown(file) + "' must be relative to the frames directory"};
    for (const auto& part : path)
      if (part == "..") throw LineError{"frame file '" + shown(file) + "' must not leave the frames directory"};
    for (char c : file)
      if (static_cast<unsigned char>(c) < 0x20) throw LineError{"frame file name holds a control character"};
    ScriptStep step;
    step.kind = ScriptStep::Kind::frame;
    step.time = time_;
    step.frame_file = std::string(file);
    step.line = line_;
    pending_.push_back(std::move(step));
  } else if (name == "close" || name == "quit") {
    expect_arguments(args, 0, 0, std::string(name));
    InputEvent e;
    e.kind = name == "close" ? Kind::close_request : Kind::quit;
    e.position = mouse_;
    e.modifiers = held_;
    emit(std::move(e));
  } else {
    throw LineError{"unknown command '" + shown(name) + "'"};
  }
}

}  // namespace

ScriptParse parse_event_script(std::string_view text, std::string_view file_name) {
  Compiler compiler(file_name);
  int number = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    compiler.line(++number, line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return compiler.finish();
}

ScriptParse load_event_script(const std::string& path) {
  std::error_code ec;
  auto size = std::filesystem::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) {
    ScriptParse failed;
    failed.errors.push_back(path + ": cannot read the event script" + (ec ? ": " + ec.message() : std::string()));
    return failed;
  }
  if (size > kMaxScriptBytes) {
    ScriptParse failed;
    failed.errors.push_back(path + ": the event script is too large (" + std::to_string(size) + " bytes)");
    return failed;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parse_event_script(text.str(), path);
}

}  // namespace orvane::platform::backends
