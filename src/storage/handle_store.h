// Where the resource manager keeps resource data: numbered, resizable
// blocks. The run-time uses the memory-block layer's handles
// (storage/resource_handles.h); tools and tests use blocks in memory.
#pragma once

#include <cstdint>
#include <new>
#include <span>
#include <vector>

namespace orvane {

class HandleStore {
 public:
  virtual ~HandleStore() = default;
  // A new empty handle; 0 when none can be made.
  virtual std::uint32_t create() = 0;
  virtual bool resize(std::uint32_t h, std::uint32_t size) = 0;
  virtual std::uint32_t size(std::uint32_t h) const = 0;
  // The handle's bytes; valid until the next operation on any handle.
  virtual std::span<std::uint8_t> bytes(std::uint32_t h) = 0;
  // False for a handle whose block was purged (or was never filled).
  virtual bool has_storage(std::uint32_t h) const = 0;
  virtual void set_purgeable(std::uint32_t h) = 0;
  virtual void dispose(std::uint32_t h) = 0;
  virtual bool is_live(std::uint32_t h) const = 0;
};

// Handles as vectors in memory.
class MemoryHandleStore final : public HandleStore {
 public:
  std::uint32_t create() override {
    blocks_.emplace_back();
    live_.push_back(true);
    return static_cast<std::uint32_t>(blocks_.size());
  }
  bool resize(std::uint32_t h, std::uint32_t size) override {
    if (!is_live(h)) return false;
    try {
      blocks_[h - 1].resize(size);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  std::uint32_t size(std::uint32_t h) const override {
    return is_live(h) ? static_cast<std::uint32_t>(blocks_[h - 1].size()) : 0;
  }
  std::span<std::uint8_t> bytes(std::uint32_t h) override {
    if (!is_live(h)) return {};
    return blocks_[h - 1];
  }
  bool has_storage(std::uint32_t h) const override { return size(h) != 0; }
  void set_purgeable(std::uint32_t) override {}
  void dispose(std::uint32_t h) override {
    if (!is_live(h)) return;
    live_[h - 1] = false;
    std::vector<std::uint8_t>().swap(blocks_[h - 1]);
  }
  bool is_live(std::uint32_t h) const override {
    return h != 0 && h <= blocks_.size() && live_[h - 1];
  }
  // Drops a block's contents as a purge would (tests).
  void purge(std::uint32_t h) {
    if (is_live(h)) std::vector<std::uint8_t>().swap(blocks_[h - 1]);
  }

 private:
  std::vector<std::vector<std::uint8_t>> blocks_;
  std::vector<bool> live_;
};

}  // namespace orvane
