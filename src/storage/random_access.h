// Byte storage with positioned access, behind which a resource file (or a
// record database) lives: a host file guarded by a rollback journal
// (storage/journal.h), or a buffer in memory for tools, tests and fuzzing.
//
// Writes come in batches: a batch either reaches the storage whole or, after
// a crash, not at all once the file is opened again. A storage may stay
// inconsistent across several batches (a resource appended over the old map
// before the map is rewritten); commit() marks the point where the written
// state is whole again.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/file_io.h"

namespace orvane {

struct PlannedWrite {
  std::uint64_t offset = 0;
  std::vector<std::uint8_t> bytes;
};

class RandomAccess {
 public:
  virtual ~RandomAccess() = default;

  virtual bool writable() const = 0;
  // Errors are system error numbers (platform::sys_error); 0 is success.
  virtual int size(std::uint64_t& out) const = 0;
  // Reads up to out.size() bytes; `count` is less only at the end.
  virtual int read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const = 0;
  // Writes the batch in order; the first failure stops it.
  virtual int write(std::span<const PlannedWrite> batch) = 0;
  virtual int set_length(std::uint64_t length) = 0;
  // The storage is consistent again: what was written since the last commit
  // becomes the state that survives a crash.
  virtual int commit() = 0;

  // Exactly out.size() bytes, else sys_error::io.
  int read_exact(std::uint64_t offset, std::span<std::uint8_t> out) const {
    std::size_t count = 0;
    int err = read_at(offset, out, count);
    if (err != 0) return err;
    return count == out.size() ? 0 : platform::sys_error::io;
  }
};

// Storage in memory.
class MemoryFile final : public RandomAccess {
 public:
  explicit MemoryFile(std::vector<std::uint8_t> bytes, bool writable = true)
      : bytes_(std::move(bytes)), writable_(writable) {}

  bool writable() const override { return writable_; }
  int size(std::uint64_t& out) const override {
    out = bytes_.size();
    return 0;
  }
  int read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const override {
    count = 0;
    if (offset >= bytes_.size()) return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), bytes_.size() - offset));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
    return 0;
  }
  int write(std::span<const PlannedWrite> batch) override {
    if (!writable_) return platform::sys_error::permission;
    for (const PlannedWrite& w : batch) {
      if (w.offset + w.bytes.size() > kMaxSize) return platform::sys_error::disk_full;
      if (bytes_.size() < w.offset + w.bytes.size()) bytes_.resize(w.offset + w.bytes.size());
      std::copy(w.bytes.begin(), w.bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(w.offset));
    }
    return 0;
  }
  int set_length(std::uint64_t length) override {
    if (!writable_) return platform::sys_error::permission;
    if (length > kMaxSize) return platform::sys_error::disk_full;
    bytes_.resize(length);
    return 0;
  }
  int commit() override { return 0; }

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  static constexpr std::uint64_t kMaxSize = 1ull << 32;
  std::vector<std::uint8_t> bytes_;
  bool writable_;
};

}  // namespace orvane
