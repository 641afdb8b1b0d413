// The host's keys (SDL2 scan codes, which name positions on a US keyboard)
// and the key table's keys, both ways. Kept free of SDL's headers.
#pragma once

#include "platform/backends/key_table.h"

namespace orvane::platform::backends {

// The key of an SDL scan code; none for keys the desktop does not know.
const KeyInfo* key_of_sdl_scancode(int scancode);
// The SDL scan code of a key; 0 (SDL_SCANCODE_UNKNOWN) when none.
int sdl_scancode_of_key(const KeyInfo& key);

}  // namespace orvane::platform::backends
