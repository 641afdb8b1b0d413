// Text shared by the file tools (`orvane rsrc`, `orvane db`): the command
// line and the terminal speak UTF-8, the files Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Text from a file for a terminal: control characters shown as \xNN, the
// rest converted from Windows-1252 to UTF-8.
std::string terminal_text(std::string_view windows1252);

// Reports a failure of `tool` ("rsrc", "db"): a JSON object on standard
// output for scripts, else one line on standard error. Answers the exit
// status of a reported failure (1).
int report_failure(std::string_view tool, bool json_output, std::string_view message);

}  // namespace orvane
