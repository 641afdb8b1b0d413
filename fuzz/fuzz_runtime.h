// A run-time for fuzz targets (fuzz_runtime()): created on first use,
// renewed when the input of many runs has filled its node store, indirect
// area or symbol table, with error alerts silenced. Every target runs its
// input through run(), which stops the Lisp errors and throws that bad input
// must end in.
#pragma once

#include <cstdlib>
#include <memory>

#include "core/memory.h"
#include "core/runtime.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "platform/host.h"
#include "shell/modules.h"

namespace orvane::fuzz {

inline MemoryConfig fuzz_config() {
  MemoryConfig c;
  c.symbols = 16384;
  c.lisp_stack = 65536;
  c.prolog_stack = 16384;
  c.nodes = 200000;
  c.heap = 4u << 20;
  c.reserve = 0;
  c.node_share = 0;
  c.total = 16u << 20;
  return c;
}

class FuzzRuntime {
 public:
  // Answers true when the run-time is new (set up what the target needs).
  bool ensure() {
    if (runtime_ && !worn()) return false;
    runtime_.reset();
    runtime_ = std::make_unique<Runtime>(fuzz_config(), register_all_modules);
    return true;
  }

  // Runs f, stopping the throws that end a Lisp error. A context record left
  // in the chain afterwards is a fault of the code under test.
  template <class F>
  void run(F&& f) {
    try {
      f();
    } catch (const Thrower&) {
    } catch (const ErrorPrinting&) {
    }
    if (Context::innermost() != nullptr) std::abort();
  }

 private:
  // Reclaiming is the collector's business; a fuzz run wants room for the
  // next input whatever the collector manages.
  static bool worn() {
    return g_mem.free_count < 100000 || g_mem.heap_end - g_mem.heap_alloc < (2u << 20) ||
           g_mem.symbols_free < 8192;
  }

  // The console host with the error alerts silenced.
  class SilentHost final : public platform::Host {
   public:
    platform::Clock& clock() override { return console_.clock(); }
    void write_terminal(std::string_view text) override { console_.write_terminal(text); }
    void flush_terminal() override { console_.flush_terminal(); }
    int read_terminal() override { return console_.read_terminal(); }
    void write_error_line(std::string_view) override {}
    void internal_error_alert(std::string_view) override {}
    int out_of_memory_alert() override { return 1; }

   private:
    platform::Host& console_ = platform::host();
  };

  SilentHost host_;
  platform::HostScope silence_{host_};
  std::unique_ptr<Runtime> runtime_;
};

// The one run-time of a fuzz target. It is never destroyed: at exit the
// run-time's own singletons may already be gone.
inline FuzzRuntime& fuzz_runtime() {
  static FuzzRuntime* runtime = new FuzzRuntime;
  return *runtime;
}

}  // namespace orvane::fuzz
