// The character-set primitives (conversions of texts held in memory blocks
// and of strings) and the symbolic search over raw text.
#pragma once

namespace orvane {

// Binds the conversion primitives, `buffer-get-string`, the symbolic search
// primitives and `Symbolic-Token`.
void register_charsets();

}  // namespace orvane
