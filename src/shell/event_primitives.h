// The primitives of event dispatch: pumping, flushing and suspending events,
// key focus, the mouse state, the modifier keys and the cursors.
#pragma once

namespace orvane::shell {

void register_event_primitives();

}  // namespace orvane::shell
