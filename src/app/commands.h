// The sub-commands of `orvane`.
#pragma once

#include <string>
#include <vector>

#include "core/memory.h"

namespace orvane::app {

// `orvane run [-e EXPR] [FILE | -]...`
int run_command(const MemoryConfig& config, const std::vector<std::string>& inputs,
                const std::vector<std::string>& expressions);
// `orvane repl`
int repl_command(const MemoryConfig& config);

}  // namespace orvane::app
