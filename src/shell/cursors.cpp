#include "shell/cursors.h"

#include "platform/desktop/messages.h"

namespace orvane::shell {

namespace {

// The built-in shapes by cursor number; 0 for numbers that are resources.
std::uint32_t built_in_shape(int number) {
  using namespace desktop;
  switch (number) {
    case 0: return IDC_ARROW;
    case 1: return IDC_IBEAM;
    case 2: return IDC_CROSS;
    case 4: return IDC_WAIT;
    case 11: return IDC_SIZEWE;
    case 12: return IDC_SIZENS;
    case 13: return IDC_SIZENWSE;
    case 14: return IDC_SIZENESW;
    default: return 0;
  }
}

}  // namespace

ShellCursors::ShellCursors(platform::Screen& screen, ResourceLoader load, std::function<void()> post_restore)
    : cursors_(screen), load_(std::move(load)), post_restore_(std::move(post_restore)) {}

void ShellCursors::set(int number) {
  desktop::Hcursor next;
  if (std::uint32_t shape = built_in_shape(number)) {
    next = cursors_.load_cursor(shape);
  } else if (custom_ && number == custom_number_) {
    next = custom_;
  } else {
    std::optional<platform::MonochromeCursor> made;
    if (auto bytes = load_ ? load_(number) : std::nullopt) made = desktop::cursor_from_resource(*bytes);
    next = made ? cursors_.create_cursor(*made) : cursors_.load_cursor(desktop::IDC_ARROW);
    if (!made) number = kArrowCursor;
  }
  cursors_.set_cursor(next);
  if (custom_ && next != custom_) {
    cursors_.destroy_cursor(custom_);
    custom_ = {};
    custom_number_ = -1;
  }
  if (!built_in_shape(number) && next != cursors_.load_cursor(desktop::IDC_ARROW)) {
    custom_ = next;
    custom_number_ = number;
  }
  number_ = number;
  if (number == kArrowCursor) {
    int count = cursors_.show_cursor(true);
    while (count > 0) count = cursors_.show_cursor(false);
    while (count < 0) count = cursors_.show_cursor(true);
  }
}

void ShellCursors::show_watch() {
  set(kWaitCursor);
  if (!restore_pending_) return;
  restore_pending_ = false;
  if (post_restore_) post_restore_();
}

void ShellCursors::restore() {
  restore_pending_ = true;
  set(kArrowCursor);
}

}  // namespace orvane::shell
