// A toy program standing where the desktop will: it draws into a framebuffer
// what the input asks (a square where a button goes down, a trail while it is
// held, a block for each typed character, a bar for each key), and runs the
// loop the desktop runs: take input, paint, present, wait when idle. An
// optional blinking mark uses the clock and a deadline.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/raster/surface.h"
#include "platform/screen.h"

namespace orvane::testing {

class ToyScene {
 public:
  ToyScene(raster::IntSize size, platform::Clock* blink_clock = nullptr)
      : framebuffer_(size.width, size.height, raster::PixelFormat::rgb32), blink_clock_(blink_clock) {
    fill({0, 0, size.width, size.height}, 0xC0C0C0);
  }

  raster::Surface& framebuffer() { return framebuffer_; }
  const std::vector<platform::InputEvent>& seen() const { return seen_; }

  // Handles one event; answers false when the run should end.
  bool handle(const platform::InputEvent& e) {
    using Kind = platform::InputEvent::Kind;
    seen_.push_back(e);
    switch (e.kind) {
      case Kind::mouse_down:
        held_ = true;
        fill(square(e.position, 3), e.button == platform::MouseButton::left ? 0x000080 : 0x800000);
        if (e.clicks == 2) fill(square(e.position, 6), 0x008000);
        break;
      case Kind::mouse_move:
        if (held_) fill(square(e.position, 1), 0xFFFFFF);
        break;
      case Kind::mouse_up:
        held_ = false;
        break;
      case Kind::text:
        for (char c : e.text) {
          auto v = static_cast<std::uint8_t>(c);
          fill({text_x_, 4, text_x_ + 6, 14}, 0x010101u * v);
          text_x_ += 8;
        }
        break;
      case Kind::key_down:
        fill({4, 20 + keys_ * 3, 4 + e.virtual_key / 2, 22 + keys_ * 3}, e.extended ? 0xFF0000 : 0x0000FF);
        keys_ = (keys_ + 1) % 40;
        break;
      case Kind::close_request:
      case Kind::quit:
        return false;
      default:
        break;
    }
    return true;
  }

  // The loop: answers how it ended ("quit" by an event, "end" when no input
  // can come again).
  std::string run(platform::Screen& screen) {
    for (;;) {
      while (auto e = screen.poll_input())
        if (!handle(*e)) {
          present(screen);
          return "quit";
        }
      std::optional<std::uint64_t> deadline;
      if (blink_clock_) {
        std::uint64_t now = blink_clock_->milliseconds();
        if (now >= next_blink_) {
          blink_on_ = !blink_on_;
          fill({framebuffer_.width() - 10, 2, framebuffer_.width() - 2, 10}, blink_on_ ? 0x000000 : 0xC0C0C0);
          blinks_.push_back(now);
          next_blink_ = now + 500;
        }
        deadline = next_blink_;
      }
      present(screen);
      if (!screen.wait_for_input(framebuffer_, deadline)) return "end";
    }
  }

  const std::vector<std::uint64_t>& blinks() const { return blinks_; }

  void present(platform::Screen& screen) {
    screen.present(framebuffer_, dirty_);
    dirty_.clear();
  }

 private:
  static raster::IntRect square(raster::IntPoint p, int r) { return {p.x - r, p.y - r, p.x + r + 1, p.y + r + 1}; }

  void fill(raster::IntRect r, std::uint32_t value) {
    r = r.intersected(framebuffer_.bounds());
    if (r.empty()) return;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) framebuffer_.set_pixel(x, y, value);
    dirty_.push_back(r);
  }

  raster::Surface framebuffer_;
  platform::Clock* blink_clock_;
  std::vector<raster::IntRect> dirty_;
  std::vector<platform::InputEvent> seen_;
  std::vector<std::uint64_t> blinks_;
  bool held_ = false;
  bool blink_on_ = false;
  std::uint64_t next_blink_ = 0;
  int text_x_ = 4;
  int keys_ = 0;
};

}  // namespace orvane::testing
