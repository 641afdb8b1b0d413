#include "platform/desktop/window_table.h"

namespace orvane::desktop {

namespace {
// Handles 0 and 1 and the top slots are reserved (none, kBottom, kTopmost...).
constexpr std::size_t kMaxSlots = 0xfffe;
}  // namespace

Window* WindowTable::create() {
  std::uint32_t index;
  if (!free_.empty()) {
    index = free_.back();
    free_.pop_back();
  } else {
    if (slots_.size() >= kMaxSlots) return nullptr;
    index = static_cast<std::uint32_t>(slots_.size());
    slots_.emplace_back();
  }
  Slot& slot = slots_[index];
  slot.window = std::make_unique<Window>();
  slot.window->handle = Hwnd::make(index, slot.generation);
  ++live_;
  return slot.window.get();
}

Window* WindowTable::find(Hwnd h) {
  const std::uint32_t index = h.index();
  if (index == 0 || index >= slots_.size()) return nullptr;
  Slot& slot = slots_[index];
  if (!slot.window || slot.generation != h.generation()) return nullptr;
  return slot.window.get();
}

const Window* WindowTable::find(Hwnd h) const {
  return const_cast<WindowTable*>(this)->find(h);
}

std::unique_ptr<Window> WindowTable::release(Hwnd h) {
  if (!find(h)) return nullptr;
  Slot& slot = slots_[h.index()];
  std::unique_ptr<Window> w = std::move(slot.window);
  // Generation 0 is never used, so no handle value is ever 0 or 1.
  slot.generation = slot.generation >= 0xffff ? 1 : slot.generation + 1;
  free_.push_back(h.index());
  --live_;
  return w;
}

}  // namespace orvane::desktop
