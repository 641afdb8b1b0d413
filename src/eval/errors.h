// The single error path and the non-local exits. Throws are C++ exceptions
// of class Thrower; ErrorPrinting is raised only inside the error path.
#pragma once

#include <cstdint>

#include "core/value.h"

namespace orvane {

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

struct ErrorPrinting {};

// Calls mark on the Values of every throw in flight.
void mark_throws_in_flight(void (*mark)(Value));

[[noreturn]] void raise_error(int code, Value culprit);
[[noreturn]] void raise_database_error(int code, Value culprit);
// A native message through the error path ("The file %s could not be open").
[[noreturn]] void report(const char* format, ...);
// Walks the context chain; raises error 17 with the tag when nothing catches it.
[[noreturn]] void throw_value(Value tag, Value value);
[[noreturn]] void throw_to_toplevel();
[[noreturn]] void throw_to_cancel();
bool catch_active(Value tag);

// The last composed error text.
const char* last_error_text();
// How many times the error path has run since start-up.
std::uint64_t errors_raised();

}  // namespace orvane
