// A Lisp session: a run-time with every module, the host's terminal, and
// evaluation of top-level data that reports errors and goes on. Starting a
// session clears what an earlier one left behind; ending it writes and
// closes what is open, as quitting does.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/memory.h"
#include "core/runtime.h"
#include "reader/reader.h"

namespace orvane::shell {

class LispSession {
 public:
  // The modules are every native module unless a player adds its own.
  explicit LispSession(const MemoryConfig& config, ModuleRegistration register_modules = nullptr);
  ~LispSession();
  LispSession(const LispSession&) = delete;
  LispSession& operator=(const LispSession&) = delete;

  // Reads and evaluates every datum of the source in order. An error is
  // reported through the host and evaluation goes on with the next datum.
  // Answers false when any error reached the toplevel.
  bool run_source(CharSource& source);
  // Evaluates one datum; answers false when an error reached the toplevel.
  bool eval_datum(Value datum, Value* result = nullptr);
  // Prints a value readably on the terminal, on a line of its own.
  void show_result(Value value);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvane::shell
