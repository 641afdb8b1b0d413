// The frame's procedure and the MDI client's (a subclass of the desktop's
// own): closing the title, the end-session query, menu commands and pop-ups,
// min/max sizes, the cursor's restore (the re-examine message), the
// client's background, the page's size and the mouse over the root.
#pragma once

#include "platform/desktop/message.h"

namespace orvane::shell {

desktop::LResult frame_procedure(desktop::Desktop& desktop, desktop::Hwnd frame, std::uint32_t message,
                                 desktop::WParam wparam, desktop::LParam lparam);

// Subclasses the MDI client: its own procedure still handles what this one
// leaves.
void subclass_mdi_client(desktop::Desktop& desktop, desktop::Hwnd client);

}  // namespace orvane::shell
