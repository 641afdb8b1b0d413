// The picture objects' module: `obj-picture` under `obj-window`, the
// picture methods every window gets (drawing pictures, window captures,
// faces images, masks) and the global primitives that measure and convert
// pictures.
#pragma once

namespace orvane::ui {

// After register_windows().
void register_pictures();

}  // namespace orvane::ui
