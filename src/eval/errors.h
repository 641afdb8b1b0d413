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

// Hooks with console defaults; the shell replaces them.
struct ErrorHooks {
  // The internal-error alert, shown when no Error-Handler takes the error;
  // it receives the composed error text. The console prints that text to
  // standard error.
  void (*internal_error_alert)(const char* error_text) = nullptr;
  // Called at the start of the error path (end drawing, flush the terminal...).
  void (*before_error)() = nullptr;
};
inline ErrorHooks g_error_hooks;

// The last composed error text.
const char* last_error_text();
// How many times the error path has run since start-up.
std::uint64_t errors_raised();

}  // namespace orvane
