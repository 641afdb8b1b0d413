// The run-time world as one RAII object: the address space, the Lisp memory
// laid out from the settings, the symbols bound and the modules registered
// by the routine its maker hands in (the shell's module list). At most one
// exists at a time.
#pragma once

#include <memory>
#include <stdexcept>

#include "core/memory.h"
#include "platform/address_space.h"

namespace orvane {

// The run-time cannot start with this memory: the text is the start-up
// memory alert ("There is not enougth RAM memory : ^0 K") or says what in
// the configuration is unusable.
class StartupMemoryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Registers the native modules of a run-time, in start-up order.
using ModuleRegistration = void (*)();

class Runtime {
 public:
  // Sizes and lays out the Lisp memory from the configuration (raising
  // StartupMemoryError when it cannot), then registers the modules.
  Runtime(const MemoryConfig& config, ModuleRegistration register_modules);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  const MemoryLayout& layout() const { return layout_; }
  platform::AddressSpace& address_space() { return *space_; }

  static Runtime* current() { return current_; }

 private:
  void tear_down();

  std::unique_ptr<platform::AddressSpace> space_;
  MemoryLayout layout_;
  static inline Runtime* current_ = nullptr;
};

}  // namespace orvane
