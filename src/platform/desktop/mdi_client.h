// The MDI client: the window that holds a frame's document windows, keeps
// one of them active (on top, its caption active, maximised when the
// previous one was) and answers the WM_MDI messages.
#pragma once

#include "platform/desktop/message.h"

namespace orvane::desktop {

class Desktop;
struct MdiClientState;

class MdiClient {
 public:
  MdiClient(Desktop& desktop, Hwnd client) : desktop_(desktop), client_(client) {}

  // The procedure of the system class "MDICLIENT".
  static LResult procedure(Desktop& desktop, Hwnd hwnd, std::uint32_t message, WParam wparam,
                           LParam lparam);

  // A child was created (WM_MDICREATE, or CreateWindowEx with WS_EX_MDICHILD).
  void child_created(Hwnd child, std::uint32_t requested_style);
  // A child is about to be destroyed: the next one becomes active.
  void child_leaving(Hwnd child);
  void activate(Hwnd child);
  // The visible child after (or before) `from` in the z-order, wrapping.
  Hwnd next_child(Hwnd from, bool previous) const;

 private:
  MdiClientState* state() const;
  Hwnd create_child(const MdiCreateStruct& create);

  Desktop& desktop_;
  Hwnd client_;
};

}  // namespace orvane::desktop
