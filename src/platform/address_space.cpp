#include "platform/address_space.h"

#include <pthread.h>
#include <sys/mman.h>

#include <stdexcept>

namespace orvane::platform {

AddressSpace::AddressSpace() {
  // Reserve only: MAP_NORESERVE makes pages committed as they are first used.
  void* p = mmap(nullptr, kSize, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) throw std::runtime_error("cannot reserve the 4 GiB world address space");
  base_ = static_cast<std::uint8_t*>(p);
  mprotect(base_, kGuard, PROT_NONE);
}

AddressSpace::~AddressSpace() {
  if (base_) munmap(base_, kSize);
}

void AddressSpace::release(std::uint32_t offset, std::size_t size) {
  const std::size_t page = 4096;
  std::uint64_t begin = (std::uint64_t{offset} + page - 1) / page * page;
  std::uint64_t end = (std::uint64_t{offset} + size) / page * page;
  if (end > begin) madvise(base_ + begin, end - begin, MADV_DONTNEED);
}

NativeStackBounds current_native_stack() {
  NativeStackBounds b;
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) == 0) {
    void* addr = nullptr;
    std::size_t size = 0;
    pthread_attr_getstack(&attr, &addr, &size);
    pthread_attr_destroy(&attr);
    b.top = reinterpret_cast<std::uintptr_t>(addr) + size;
    b.size = size;
  }
  return b;
}

}  // namespace orvane::platform
