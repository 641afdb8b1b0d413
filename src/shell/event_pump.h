// The event pump: takes the desktop's pending messages of the classes a
// mask asks for, in the order activation, mouse, keyboard, paint, then
// always timers, idle and wave-output, and dispatches them one by one; key
// downs are first offered to the keyboard path (`system-key-down`). After
// each dispatch a quit or a throw that a handler left pending is carried on.
#pragma once

#include "eval/eval.h"
#include "platform/desktop/handle.h"
#include "platform/desktop/message.h"

namespace orvane::desktop {
class Desktop;
}

namespace orvane::shell {

// Raises the event flag by one for the scope: the background poll is
// suspended meanwhile.
class EventFlagRaised {
 public:
  EventFlagRaised() { ++g_event_poll.event_flag; }
  ~EventFlagRaised() { --g_event_poll.event_flag; }
  EventFlagRaised(const EventFlagRaised&) = delete;
  EventFlagRaised& operator=(const EventFlagRaised&) = delete;
};

// Processes every pending message of the mask's classes (-1: all).
void process_events(desktop::Desktop& desktop, desktop::Hwnd mdi_client, int mask);

// The keyboard path of a key down: true when `system-key-down` took it.
bool keyboard_takes(desktop::Desktop& desktop, const desktop::Message& message);

// Gives open movies their idle time (nothing until there are movies).
void give_movies_idle_time();

}  // namespace orvane::shell
