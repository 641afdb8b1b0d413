#include "platform/backends/script_recorder.h"

#include <string>

#include "platform/backends/key_table.h"
#include "platform/console.h"

namespace orvane::platform::backends {

namespace {

const char* button_name(MouseButton b) {
  switch (b) {
    case MouseButton::left: return "left";
    case MouseButton::right: return "right";
    case MouseButton::middle: return "middle";
  }
  return "left";
}

std::string position(raster::IntPoint p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

}  // namespace

ScriptRecorder::ScriptRecorder(std::ostream& out, std::uint64_t start_ms) : out_(out), last_ms_(start_ms) {
  out_ << "# A session recorded by orvane; replay it with --headless --events FILE.\n";
  out_.flush();
}

void ScriptRecorder::line(const std::string& text, std::uint64_t ms) {
  if (ms > last_ms_) {
    out_ << "wait " << (ms - last_ms_) << '\n';
    last_ms_ = ms;
  }
  out_ << text << '\n';
  out_.flush();
}

void ScriptRecorder::move_to(raster::IntPoint p, std::uint64_t ms) {
  if (mouse_known_ && p == mouse_) return;
  mouse_ = p;
  mouse_known_ = true;
  line("move " + position(p), ms);
}

void ScriptRecorder::record(const InputEvent& event, std::uint64_t ms) {
  using Kind = InputEvent::Kind;
  switch (event.kind) {
    case Kind::mouse_move:
      move_to(event.position, ms);
      break;
    case Kind::mouse_down:
    case Kind::mouse_up:
      move_to(event.position, ms);
      line(std::string(event.kind == Kind::mouse_down ? "press " : "release ") + button_name(event.button), ms);
      break;
    case Kind::key_down:
    case Kind::key_up:
      if (const KeyInfo* key = find_key(event.virtual_key, event.scan_code, event.extended))
        line(std::string(event.kind == Kind::key_down ? "key-down " : "key-up ") + std::string(key->name), ms);
      break;
    case Kind::text: {
      std::string typed;
      for (char c : event.text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) typed += c;
      if (!typed.empty()) line("type " + windows1252_to_utf8(typed), ms);
      break;
    }
    case Kind::close_request:
      line("close", ms);
      break;
    case Kind::quit:
      line("quit", ms);
      break;
    case Kind::resized:
      break;
  }
}

}  // namespace orvane::platform::backends
