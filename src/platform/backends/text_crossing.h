// Text crossing between the host (UTF-8, newline line ends) and the desktop
// (Windows-1252, carriage-return line ends). The characters themselves are
// converted by the platform's text unit (platform/text.h) alone; this adds
// the line ends and the strict form the event scripts need.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform::backends {

// UTF-8 to Windows-1252 where every character must survive: none when the
// text is not valid UTF-8 or holds a character the code page lacks, with
// *problem describing the first such place.
std::optional<std::string> utf8_to_windows1252_exact(std::string_view text, std::string* problem);

// Host text (newline or carriage return-newline line ends) to the desktop's
// (carriage return line ends), and back.
std::string host_text_to_desktop(std::string_view utf8);
std::string desktop_text_to_host(std::string_view windows1252);

}  // namespace orvane::platform::backends
