// A 640 x 480 screen that shows nothing and brings no input, for benchmarks
// of the desktop and what stands on it.
#pragma once

#include <string>

#include "platform/screen.h"

namespace orvane::bench {

class NullScreen final : public platform::Screen {
 public:
  raster::IntSize size() const override { return {640, 480}; }
  raster::IntSize display_size() const override { return {640, 480}; }
  void present(const raster::Surface&, std::span<const raster::IntRect>) override {}
  std::optional<platform::InputEvent> poll_input() override { return std::nullopt; }
  bool wait_for_input(const raster::Surface&, std::optional<std::uint64_t>) override { return false; }
  void set_title(std::string_view) override {}
  void set_window_flags(const platform::WindowFlags&) override {}
  void set_cursor(platform::CursorShape) override {}
  void set_cursor(const platform::MonochromeCursor&) override {}
  std::string clipboard_text() override { return {}; }
  void set_clipboard_text(std::string_view) override {}
};

}  // namespace orvane::bench
