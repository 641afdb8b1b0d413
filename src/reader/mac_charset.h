// The Macintosh character set as the run-time meets it in titles: a title's
// text is Mac OS Roman, the run-time's is Windows-1252.
#pragma once

#include <cstdint>

namespace orvane {

// The Mac OS Roman code of a Windows-1252 character, or 0 when it has none
// (0 itself maps to 0): the table of `ibm->mac`.
std::uint8_t windows_to_mac(std::uint8_t c);

}  // namespace orvane
