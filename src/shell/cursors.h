// The title's cursors: numbers 0-14 name the built-in shapes, any other
// number a "CURS" resource (a 16 x 16 cursor kept while the same number is
// asked for again); the busy cursor lasts until control returns to the
// event loop (the re-examine message posted to the frame brings the arrow
// back).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/desktop/cursors.h"

namespace orvane::shell {

inline constexpr int kArrowCursor = 0;
inline constexpr int kWaitCursor = 4;

class ShellCursors {
 public:
  // The bytes of "CURS" resource n, none when missing.
  using ResourceLoader = std::function<std::optional<std::vector<std::uint8_t>>(int)>;
  // `post_restore` queues the re-examine message to the frame.
  ShellCursors(platform::Screen& screen, ResourceLoader load, std::function<void()> post_restore);

  // Shows cursor n. The arrow also makes the cursor exactly visible again.
  void set(int number);
  // The busy cursor until control is back in the event loop.
  void show_watch();
  // The event loop reached the re-examine message posted by show_watch.
  void restore();
  // The counted show and hide of the system.
  int show(bool show) { return cursors_.show_cursor(show); }

  int number() const { return number_; }
  bool restore_pending() const { return restore_pending_; }

 private:
  desktop::Cursors cursors_;
  ResourceLoader load_;
  std::function<void()> post_restore_;
  int number_ = kArrowCursor;
  desktop::Hcursor custom_;  // the "CURS" cursor in use, kept for its number
  int custom_number_ = -1;
  bool restore_pending_ = true;
};

}  // namespace orvane::shell
