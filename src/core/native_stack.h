// The native stack guard: deep recursion over Lisp data ends in error 9,
// never in a host stack overflow. The run-time sets the limit at start-up
// from the host's stack size; every recursive walk calls check_native_stack.
#pragma once

#include <cstdint>

namespace orvane {

// Raises error 9 with nil (defined by the evaluator's error path).
[[noreturn]] void native_stack_check_failed();
inline std::uintptr_t g_native_stack_limit = 0;
// How far below the limit the error path may go while it reports an overflow
// (0: the evaluator chooses from the stack's size).
inline std::uintptr_t g_native_stack_error_room = 0;
inline void check_native_stack() {
  char probe;
  if (reinterpret_cast<std::uintptr_t>(&probe) < g_native_stack_limit) native_stack_check_failed();
}

}  // namespace orvane
