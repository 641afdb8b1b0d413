// The single error path and the non-local exits. Throws are C++ exceptions
// of class Thrower; ErrorPrinting is raised only inside the error path. The
// entry points the core also uses (raise_error, report, Thrower ...) are
// declared in core/errors.h and defined in errors.cpp.
#pragma once

#include <cstdint>

#include "core/errors.h"
#include "core/value.h"

namespace orvane {

// Walks the context chain; raises error 17 with the tag when nothing catches it.
[[noreturn]] void throw_value(Value tag, Value value);
bool catch_active(Value tag);

// The last composed error text.
const char* last_error_text();
// How many times the error path has run since start-up.
std::uint64_t errors_raised();

}  // namespace orvane
