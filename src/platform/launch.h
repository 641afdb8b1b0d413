// Starting another program from a command line, as the run-time's
// `launch-application` does: the program runs on its own; the run-time
// does not wait for it.
#pragma once

#include <string_view>

namespace orvane::platform {

// Splits the command line at blanks (double quotes group words), the first
// word naming the program (searched on PATH when it has no slash). Answers
// whether the program was started.
bool launch_command_line(std::string_view command_line);

}  // namespace orvane::platform
