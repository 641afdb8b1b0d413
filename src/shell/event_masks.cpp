#include "shell/event_masks.h"

#include "platform/desktop/messages.h"

namespace orvane::shell {

std::vector<MessageRange> pump_ranges(int mask) {
  using namespace desktop;
  if (mask == kAllEvents) return {{0, 0}};
  std::vector<MessageRange> ranges;
  if (mask & kActivateMask) {
    ranges.push_back({WM_ACTIVATE, WM_ENABLE});  // activate, set and kill focus, 9, enable
    ranges.push_back({WM_MOUSEACTIVATE, WM_CHILDACTIVATE});
    ranges.push_back({WM_NCACTIVATE, WM_NCACTIVATE});
    ranges.push_back({WM_MDIACTIVATE, WM_MDIACTIVATE});
  }
  if (mask & (kMouseDownMask | kMouseUpMask)) {
    ranges.push_back({WM_LBUTTONDOWN, 521});
    ranges.push_back({WM_NCMOUSEMOVE, 169});
  }
  if (mask & (kKeyDownMask | kKeyUpMask)) ranges.push_back({WM_KEYDOWN, WM_KEYLAST});
  if (mask & kUpdateMask) {
    ranges.push_back({WM_PAINT, WM_PAINT});
    ranges.push_back({WM_NCPAINT, WM_NCPAINT});
    ranges.push_back({WM_ERASEBKGND, WM_ERASEBKGND});
  }
  ranges.push_back({WM_TIMER, WM_TIMER});
  ranges.push_back({WM_ENTERIDLE, WM_ENTERIDLE});
  ranges.push_back({MM_WOM_OPEN, MM_WOM_DONE});
  return ranges;
}

}  // namespace orvane::shell
