// Lisp handlers run synchronously inside the window layer's operations and
// may destroy the very window being worked on. After a send, an operation
// goes on only when its object still has the same peer.
#pragma once

#include "core/value.h"
#include "ui/window_peer.h"

namespace orvane::ui {

inline bool still_open(Value object, const WindowPeer* peer) {
  return peer && window_peer_or_null(object) == peer;
}

}  // namespace orvane::ui
