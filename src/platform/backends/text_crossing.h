// Text crossing between the host (UTF-8, newline line ends) and the desktop
// (Windows-1252, carriage-return line ends), on top of the platform's
// character conversion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform::backends {

// The next code point of UTF-8 text at `pos` (advanced past it); none, with
// `pos` past the offending byte, when the bytes there are not valid UTF-8.
std::optional<std::uint32_t> next_code_point(std::string_view text, std::size_t& pos);

// UTF-8 to Windows-1252 where every character must survive: none when the
// text is not valid UTF-8 or holds a character the code page lacks, with
// *problem describing the first such place.
std::optional<std::string> utf8_to_windows1252_exact(std::string_view text, std::string* problem);

// UTF-8 to Windows-1252 as a host hands it over: characters the code page
// lacks, and bytes that are not UTF-8, become "?".
std::string utf8_to_windows1252_lossy(std::string_view text);

// Host text (newline or carriage return-newline line ends) to the desktop's
// (carriage return line ends), and back.
std::string host_text_to_desktop(std::string_view utf8);
std::string desktop_text_to_host(std::string_view windows1252);

}  // namespace orvane::platform::backends
