// Tools that parse their own command lines: `orvane rsrc`, `orvane db`,
// `orvane pict2png` ...
#pragma once

#include <string>

namespace orvane::app {

// Runs the tool named `name` with argv[0] = name; answers its exit status,
// or -1 when no tool has that name.
int run_tool(const std::string& name, int argc, char** argv);
// One line per tool, for the main help.
std::string tools_help();

}  // namespace orvane::app
