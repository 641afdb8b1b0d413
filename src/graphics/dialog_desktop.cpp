#include "graphics/dialog_desktop.h"

namespace orvane::graphics {

namespace {

// The documented hook: set once by the shell, read by the dialog primitives.
DialogDesktopSource g_source = nullptr;

}  // namespace

void set_dialog_desktop_source(DialogDesktopSource source) { g_source = source; }

desktop::Desktop* dialog_desktop() { return g_source ? g_source() : nullptr; }

}  // namespace orvane::graphics
