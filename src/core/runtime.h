// The run-time world as one RAII object: the address space, the Lisp memory
// laid out from the settings, the symbols bound and every module registered.
// At most one exists at a time.
#pragma once

#include <memory>

#include "core/memory.h"
#include "platform/address_space.h"

namespace orvane {

class Runtime {
 public:
  explicit Runtime(const MemoryConfig& config = MemoryConfig{});
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  const MemoryLayout& layout() const { return layout_; }
  platform::AddressSpace& address_space() { return *space_; }

  static Runtime* current() { return current_; }

 private:
  std::unique_ptr<platform::AddressSpace> space_;
  MemoryLayout layout_;
  static inline Runtime* current_ = nullptr;
};

// Every module's registration routine, in start-up order.
void register_all_modules();

}  // namespace orvane
