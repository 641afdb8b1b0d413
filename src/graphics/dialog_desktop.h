// Where the run-time's modal dialogs (colour, font) open: the desktop a
// title plays on. The shell installs the source when it registers its
// primitives; without one (`orvane run`) there is no desktop and the
// dialogs answer as when cancelled.
#pragma once

#include "platform/desktop/desktop.h"

namespace orvane::graphics {

// Answers the desktop of the title playing now, or null.
using DialogDesktopSource = desktop::Desktop* (*)();
void set_dialog_desktop_source(DialogDesktopSource source);
desktop::Desktop* dialog_desktop();

}  // namespace orvane::graphics
