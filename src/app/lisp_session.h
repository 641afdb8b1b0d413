// A Lisp session on the console: a run-time, the console as the terminal,
// and evaluation of top-level data that reports errors and goes on.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/memory.h"
#include "reader/reader.h"

namespace orvane::app {

class LispSession {
 public:
  explicit LispSession(const MemoryConfig& config);
  ~LispSession();
  LispSession(const LispSession&) = delete;
  LispSession& operator=(const LispSession&) = delete;

  // Reads and evaluates every datum of the source in order. An error is
  // reported on standard error and evaluation goes on with the next datum.
  // Answers false when any error reached the toplevel.
  bool run_source(CharSource& source);
  // Evaluates one datum; answers false when an error reached the toplevel.
  bool eval_datum(Value datum, Value* result = nullptr);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvane::app
