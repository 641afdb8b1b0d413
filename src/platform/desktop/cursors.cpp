#include "platform/desktop/cursors.h"

#include <algorithm>
#include <cstring>

#include "platform/desktop/messages.h"

namespace orvane::desktop {

namespace {

using platform::CursorShape;

std::optional<CursorShape> shape_of(std::uint32_t idc) {
  switch (idc) {
    case IDC_ARROW: return CursorShape::arrow;
    case IDC_IBEAM: return CursorShape::ibeam;
    case IDC_WAIT: return CursorShape::wait;
    case IDC_CROSS: return CursorShape::cross;
    case IDC_SIZENWSE: return CursorShape::size_nwse;
    case IDC_SIZENESW: return CursorShape::size_nesw;
    case IDC_SIZEWE: return CursorShape::size_we;
    case IDC_SIZENS: return CursorShape::size_ns;
    default: return std::nullopt;
  }
}

// Made cursors' ids lie above every IDC_ number.
constexpr std::uint32_t kFirstMadeCursor = 0x10000;

}  // namespace

std::optional<platform::MonochromeCursor> cursor_from_resource(std::span<const std::uint8_t> data) {
  if (data.size() < 68) return std::nullopt;
  platform::MonochromeCursor cursor;
  std::memcpy(cursor.image, data.data(), 32);
  std::memcpy(cursor.mask, data.data() + 32, 32);
  const auto word = [&](std::size_t at) { return static_cast<std::int16_t>((data[at] << 8) | data[at + 1]); };
  cursor.hot_spot = {std::clamp<int>(word(66), 0, 15), std::clamp<int>(word(64), 0, 15)};
  return cursor;
}

Hcursor Cursors::load_cursor(std::uint32_t idc) const {
  return shape_of(idc) ? Hcursor{idc} : Hcursor{};
}

Hcursor Cursors::create_cursor(const platform::MonochromeCursor& cursor) {
  const Hcursor h{kFirstMadeCursor + next_id_++};
  made_[h.value] = cursor;
  return h;
}

bool Cursors::destroy_cursor(Hcursor cursor) {
  if (cursor == current_ || !made_.count(cursor.value)) return false;
  made_.erase(cursor.value);
  return true;
}

bool Cursors::is_cursor(Hcursor cursor) const {
  return shape_of(cursor.value).has_value() || made_.count(cursor.value) != 0;
}

Hcursor Cursors::set_cursor(Hcursor cursor) {
  const Hcursor previous = current_;
  if (cursor && !is_cursor(cursor)) return previous;
  current_ = cursor;
  apply();
  return previous;
}

int Cursors::show_cursor(bool show) {
  display_count_ += show ? 1 : -1;
  apply();
  return display_count_;
}

void Cursors::begin_wait() {
  ++wait_depth_;
  apply();
}

void Cursors::end_wait() {
  if (wait_depth_ == 0) return;
  --wait_depth_;
  apply();
}

void Cursors::apply() {
  if (display_count_ < 0 || !current_) {
    screen_.set_cursor(CursorShape::hidden);
  } else if (wait_depth_ > 0) {
    screen_.set_cursor(CursorShape::wait);
  } else if (auto shape = shape_of(current_.value)) {
    screen_.set_cursor(*shape);
  } else if (auto it = made_.find(current_.value); it != made_.end()) {
    screen_.set_cursor(it->second);
  }
}

}  // namespace orvane::desktop
