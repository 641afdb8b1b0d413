// The controls' module: `obj-button`, `obj-checkbox`, `obj-choice` and
// `obj-caption`, native classes under `obj-window`.
#pragma once

namespace orvane::ui {

// Creates the four classes and the button's methods; after register_windows().
void register_controls();

}  // namespace orvane::ui
