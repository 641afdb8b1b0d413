// A fresh run-time for each test, with a small memory configuration.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/runtime.h"
#include "shell/modules.h"

namespace orvane::testing {

inline MemoryConfig small_config() {
  MemoryConfig c;
  c.symbols = 8192;
  c.lisp_stack = 65536;
  c.prolog_stack = 16384;
  c.nodes = 100000;
  c.heap = 1u << 20;
  c.reserve = 0;
  c.node_share = 0;
  c.total = 8u << 20;
  return c;
}

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override { runtime_ = std::make_unique<Runtime>(config(), register_all_modules); }
  void TearDown() override { runtime_.reset(); }
  virtual MemoryConfig config() { return small_config(); }
  std::unique_ptr<Runtime> runtime_;
};

}  // namespace orvane::testing
