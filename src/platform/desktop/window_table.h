// The window table: handles to windows. A slot's generation moves on when
// its window goes, so stale handles find nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/desktop/window.h"

namespace orvane::desktop {

class WindowTable {
 public:
  // A new window in a free slot; nothing when all 65535 slots are taken.
  Window* create();
  Window* find(Hwnd h);
  const Window* find(Hwnd h) const;
  // Frees the slot. The window object is handed back, so the caller can
  // keep it alive while a procedure of it may still be running.
  std::unique_ptr<Window> release(Hwnd h);
  std::size_t count() const { return live_; }

 private:
  struct Slot {
    std::unique_ptr<Window> window;
    std::uint32_t generation = 1;
  };
  std::vector<Slot> slots_{1};  // slot 0 is never used: handle 0 means none
  std::vector<std::uint32_t> free_;
  std::size_t live_ = 0;
};

}  // namespace orvane::desktop
