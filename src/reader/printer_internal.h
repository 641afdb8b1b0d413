// Shared between the printer's files; not for other subsystems.
#pragma once

#include <string>

#include "core/value.h"

namespace orvane {

// The printed form of a pointer Value ("<handle 1f of size 12>" ...).
std::string pointer_printed_form(Value pointer);

// Clears the print-self guard when a run-time starts.
void reset_print_self_guard();

// Registers `format`.
void register_format();

}  // namespace orvane
