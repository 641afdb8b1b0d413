// The error path and the non-local exits as the core sees them. The core
// raises errors and carries throws; the evaluator owns what happens next
// (Error-Handler, the error module, the internal-error alert) and defines the
// entry points below in src/eval/errors.cpp. Nothing here depends on it.
#pragma once

#include "core/value.h"

namespace orvane {

// The error classes a handler receives: errors of the Lisp run-time, and
// those of the record databases.
inline constexpr int kErrorClassLisp = 1010;
inline constexpr int kErrorClassDatabase = 1011;

// A throw in flight. Its Values are collector roots while it exists.
class Thrower {
 public:
  Thrower(Value tag, Value value);
  Thrower(const Thrower& other);
  ~Thrower();
  Thrower& operator=(const Thrower&) = delete;
  Value tag() const { return tag_; }
  Value value() const { return value_; }

 private:
  Value tag_;
  Value value_;
  Thrower* next_ = nullptr;  // the list of throws in flight (collector roots)
  friend void mark_throws_in_flight(void (*mark)(Value));
  friend class ThrowerList;
};

// Raised only inside the error path, when printing the error itself fails.
struct ErrorPrinting {};

// Calls mark on the Values of every throw in flight.
void mark_throws_in_flight(void (*mark)(Value));

// Error `code` of the Lisp class (of the database class) with the culprit
// Value; neither returns. The codes are those of the run-time's error table
// (2: a bad argument, 9: the stacks or the native stack ran out ...).
[[noreturn]] void raise_error(int code, Value culprit);
[[noreturn]] void raise_database_error(int code, Value culprit);
// A native message through the error path ("The file %s could not be open").
[[noreturn]] void report(const char* format, ...);
// The throws that end at the toplevel loop and at the nearest cancel catch.
[[noreturn]] void throw_to_toplevel();
[[noreturn]] void throw_to_cancel();

}  // namespace orvane
