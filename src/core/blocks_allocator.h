// The allocator of the block range: best fit over a free list kept outside
// the world (so that no write into a block can corrupt it), with immediate
// coalescing of neighbours. Addresses and sizes are multiples of 16.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace orvane {

class RangeAllocator {
 public:
  static constexpr std::uint32_t kGranule = 16;

  // Manages [start, end); `release_pages` is told about freed ranges large
  // enough to be worth giving their pages back to the system.
  RangeAllocator(std::uint32_t start, std::uint64_t end,
                 std::function<void(std::uint32_t, std::uint64_t)> release_pages = {});

  static std::uint64_t round_up(std::uint64_t n) { return (n + kGranule - 1) & ~std::uint64_t{kGranule - 1}; }

  // The start of a free range of at least n bytes (n rounded up), or nothing.
  std::optional<std::uint32_t> allocate(std::uint64_t n);
  // Gives back the block [start, start + size) (size as passed to allocate).
  void free(std::uint32_t start, std::uint64_t size);
  // Grows or shrinks a block in place; false when the bytes after it are
  // taken (the block is unchanged).
  bool resize_in_place(std::uint32_t start, std::uint64_t old_size, std::uint64_t new_size);

  std::uint64_t free_bytes() const { return free_bytes_; }
  std::uint64_t capacity() const { return end_ - start_; }
  std::size_t free_range_count() const { return by_address_.size(); }
  // Forgets every allocation.
  void reset();

 private:
  void insert_free(std::uint64_t start, std::uint64_t size);
  void erase_free(std::map<std::uint64_t, std::uint64_t>::iterator it);

  std::uint64_t start_, end_;
  std::function<void(std::uint32_t, std::uint64_t)> release_pages_;
  std::map<std::uint64_t, std::uint64_t> by_address_;         // start -> size
  std::set<std::pair<std::uint64_t, std::uint64_t>> by_size_;  // (size, start)
  std::uint64_t free_bytes_ = 0;
};

}  // namespace orvane
