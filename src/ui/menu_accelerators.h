// Menu accelerators: the `accelerator` slot's form, the text shown after an
// item's title, and the key that chooses the item with Control.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/value.h"

namespace orvane::ui {

// The key text of an accelerator Value: (:menu "K"), or a list whose first
// element is such a list; nothing for any other Value.
std::optional<std::string> accelerator_key(Value accelerator);
// "\tCtrl+K" for the key text "K".
std::string accelerator_text(std::string_view key);
// The virtual key the key text names: a letter (either case), a digit, a
// punctuation key, "F1" to "F15", "Del"/"Delete", "Ins"/"Insert",
// "Space", "Tab", "Home", "End", "PgUp", "PgDn"; nothing for other texts.
std::optional<int> accelerator_virtual_key(std::string_view key);

}  // namespace orvane::ui
