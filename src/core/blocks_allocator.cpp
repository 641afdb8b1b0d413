#include "core/blocks_allocator.h"

#include <algorithm>

namespace orvane {

namespace {
// Freed blocks at least this large give their pages back to the system.
constexpr std::uint64_t kReleaseThreshold = 64u << 10;
constexpr std::uint64_t kPage = 4096;
}  // namespace

RangeAllocator::RangeAllocator(std::uint32_t start, std::uint64_t end,
                               std::function<void(std::uint32_t, std::uint64_t)> release_pages)
    : start_(round_up(start)), end_(end & ~std::uint64_t{kGranule - 1}),
      release_pages_(std::move(release_pages)) {
  reset();
}

void RangeAllocator::reset() {
  by_address_.clear();
  by_size_.clear();
  free_bytes_ = 0;
  if (end_ > start_) insert_free(start_, end_ - start_);
}

void RangeAllocator::insert_free(std::uint64_t start, std::uint64_t size) {
  by_address_.emplace(start, size);
  by_size_.emplace(size, start);
  free_bytes_ += size;
}

void RangeAllocator::erase_free(std::map<std::uint64_t, std::uint64_t>::iterator it) {
  by_size_.erase({it->second, it->first});
  free_bytes_ -= it->second;
  by_address_.erase(it);
}

std::optional<std::uint32_t> RangeAllocator::allocate(std::uint64_t n) {
  n = std::max<std::uint64_t>(round_up(n), kGranule);
  // Best fit; among equal sizes the lowest address, which keeps the range
  // packed toward its start.
  auto fit = by_size_.lower_bound({n, 0});
  if (fit == by_size_.end()) return std::nullopt;
  auto [size, start] = *fit;
  erase_free(by_address_.find(start));
  if (size > n) insert_free(start + n, size - n);
  return static_cast<std::uint32_t>(start);
}

void RangeAllocator::free(std::uint32_t start32, std::uint64_t size) {
  std::uint64_t start = start32;
  size = std::max<std::uint64_t>(round_up(size), kGranule);
  std::uint64_t block_start = start, block_end = start + size;
  auto next = by_address_.lower_bound(start);
  if (next != by_address_.end() && next->first == block_end) {
    size += next->second;
    erase_free(next);
  }
  auto after = by_address_.lower_bound(start);
  if (after != by_address_.begin()) {
    auto prev = std::prev(after);
    if (prev->first + prev->second == start) {
      start = prev->first;
      size += prev->second;
      erase_free(prev);
    }
  }
  insert_free(start, size);
  if (release_pages_ && block_end - block_start >= kReleaseThreshold) {
    // Pages the block shared with free neighbours can go too; the callee
    // rounds inward to whole pages.
    std::uint64_t from = std::max(start, block_start > kPage ? block_start - kPage : 0);
    std::uint64_t to = std::min(start + size, block_end + kPage);
    release_pages_(static_cast<std::uint32_t>(from), to - from);
  }
}

bool RangeAllocator::resize_in_place(std::uint32_t start, std::uint64_t old_size, std::uint64_t new_size) {
  old_size = std::max<std::uint64_t>(round_up(old_size), kGranule);
  new_size = std::max<std::uint64_t>(round_up(new_size), kGranule);
  std::uint64_t end = std::uint64_t{start} + old_size;
  if (new_size == old_size) return true;
  if (new_size < old_size) {
    free(static_cast<std::uint32_t>(start + new_size), old_size - new_size);
    return true;
  }
  auto next = by_address_.find(end);
  std::uint64_t extra = new_size - old_size;
  if (next == by_address_.end() || next->second < extra) return false;
  std::uint64_t rest = next->second - extra;
  erase_free(next);
  if (rest > 0) insert_free(end + extra, rest);
  return true;
}

}  // namespace orvane
