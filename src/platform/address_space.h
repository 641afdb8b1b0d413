// One reserved 4 GiB range of virtual memory. Every address the Lisp world
// can see is a 32-bit offset into it; offset 0 is the null address and the
// first page is never accessible.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane::platform {

class AddressSpace {
 public:
  static constexpr std::uint64_t kSize = 1ull << 32;
  static constexpr std::uint32_t kGuard = 0x10000;  // never-mapped low range

  AddressSpace();
  ~AddressSpace();
  AddressSpace(const AddressSpace&) = delete;
  AddressSpace& operator=(const AddressSpace&) = delete;

  std::uint8_t* base() const { return base_; }
  // Give back the pages of [offset, offset + size) to the system; they read as
  // zero when touched again.
  void release(std::uint32_t offset, std::size_t size);

 private:
  std::uint8_t* base_ = nullptr;
};

// Highest address of the calling thread's native stack, and its usable size.
struct NativeStackBounds {
  std::uintptr_t top = 0;
  std::size_t size = 0;
};
NativeStackBounds current_native_stack();

}  // namespace orvane::platform
