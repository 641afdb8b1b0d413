#include "reader/mac_charset.h"

#include "lib/charsets_tables.h"

namespace orvane {

std::uint8_t windows_to_mac(std::uint8_t c) { return charsets::windows_to_mac_table()[c]; }

}  // namespace orvane
