// The memory-block layer: movable blocks reached through handles, fixed
// pointer blocks built on handles, purging, and the running total of memory
// handed out. Every block lies in the upper half of the world address space
// (2 GiB .. 4 GiB), so Lisp sees block addresses as plain 32-bit offsets.
//
// A handle is a small number naming an entry of the handle table; 0 is the
// null handle. A block moves only when its handle is resized while unlocked;
// a purgeable, unlocked block may be dropped (its handle stays valid and
// becomes empty) at any new-handle request.
//
// Every raw access from Lisp goes through checked_bytes(): the bytes must lie
// inside one live block open to Lisp (or, for reads, inside the Lisp block),
// so a disposed handle or a stale address never reaches freed memory.
#pragma once

#include <cstdint>
#include <span>

#include "core/value.h"

namespace orvane {

using HandleId = std::uint32_t;      // 0 is the null handle
using WorldAddress = std::uint32_t;  // offset in the world address space; 0 is null

inline constexpr WorldAddress kBlockRangeStart = 0x80000000u;
inline constexpr std::uint64_t kBlockRangeEnd = 0x100000000ull;

// --- Handles -----------------------------------------------------------------
// Operations on a free or out-of-range handle number raise error 2 with the
// number.

// A new handle of n zero bytes (no block when n is 0); 0 when the block
// cannot be allocated. Purges first when memory is short; error 9 when the
// handle table cannot grow.
HandleId new_handle(std::uint32_t n);
// As new_handle, error 9 instead of 0.
HandleId new_handle_or_fail(std::uint32_t n);
// A new handle holding a copy of the bytes (error 9 when it cannot be made).
HandleId new_handle_with(std::span<const std::uint8_t> bytes);
// Releases the block (whatever its locks) and frees the entry.
void dispose_handle(HandleId h);
// As dispose_handle, but does nothing for a handle that is not live (for
// destructors of native objects, which must not raise).
void dispose_handle_if_live(HandleId h) noexcept;

bool handle_is_live(HandleId h);
// A live handle that is neither a pointer block nor an internal block: one
// that Lisp may own, resize and dispose.
bool handle_is_plain(HandleId h);
std::uint32_t handle_size(HandleId h);
// n > 0: resizes (in place, or by moving an unlocked block; new bytes are
// zero); n = 0: releases the block and leaves an empty handle. False when
// the memory cannot be had (the handle is unchanged).
bool set_handle_size(HandleId h, std::uint32_t n);

// The block's address, with one more lock; error 60 with nil when the handle
// is empty.
WorldAddress lock_handle(HandleId h);
void unlock_handle(HandleId h);  // no effect when not locked
std::uint32_t handle_lock_count(HandleId h);
void set_handle_purgeable(HandleId h, bool purgeable);
bool handle_purgeable(HandleId h);

// Host view of a handle's bytes. Valid until the next operation that may
// allocate, resize or purge blocks, unless the handle is locked; prefer
// HandleLock when anything runs in between.
std::span<std::uint8_t> handle_bytes(HandleId h);

// Locks a handle for the scope; the view stays valid while it lives.
class HandleLock {
 public:
  explicit HandleLock(HandleId h);
  ~HandleLock();
  HandleLock(const HandleLock&) = delete;
  HandleLock& operator=(const HandleLock&) = delete;
  WorldAddress address() const { return address_; }
  std::span<std::uint8_t> bytes() const;

 private:
  HandleId handle_;
  WorldAddress address_;
};

// --- Pointer blocks ------------------------------------------------------------
// A pointer block is a handle of n + 4 bytes locked for its lifetime; its
// first 4 bytes hold the handle number and the pointer is the address just
// after them.

WorldAddress new_pointer(std::uint32_t n);          // 0 on failure
WorldAddress new_pointer_or_fail(std::uint32_t n);  // error 9 on failure
// Error 2 with the address when it does not start a live pointer block.
void dispose_pointer(WorldAddress p);
bool is_pointer_block(WorldAddress p);
std::uint32_t pointer_block_size(WorldAddress p);
// The handle behind a pointer block; error 2 when p does not start one.
HandleId pointer_block_handle(WorldAddress p);

// A pointer block closed to raw access from Lisp (native tables such as the
// slot arrays of hash tables, whose Values the collector trusts).
WorldAddress new_internal_pointer_or_fail(std::uint32_t n);

// --- Checked raw access ----------------------------------------------------------

enum class Access { read, write };

// The host address of the n bytes at address when they lie inside one live
// block open to Lisp (reads may also lie inside the Lisp block); otherwise
// error 2 with culprit. n = 0 is accepted wherever address itself would be.
std::uint8_t* checked_bytes(WorldAddress address, std::uint32_t n, Access access, Value culprit);
// As checked_bytes, answering null instead of raising.
std::uint8_t* find_bytes(WorldAddress address, std::uint32_t n, Access access);

// --- Memory accounting -------------------------------------------------------------

// Total size of all allocated blocks.
std::uint64_t blocks_total();
// min(configured total - blocks_total(), host available memory - 1,000,000),
// never more than the free room of the block range, never negative.
std::uint64_t available_memory();
// When available_memory() < n, releases every purgeable, unlocked, non-empty
// block; answers the available memory plus what was released.
std::uint64_t purge_memory(std::uint64_t n);
// The configured total (by default the Lisp memory's total at start-up).
void set_configured_total(std::uint64_t bytes);

// Number of live handles (pointer blocks included).
std::uint32_t live_handle_count();

// Forgets every block and the handle table; the registration routine calls
// it so that each run-time starts empty, and the run-time calls it again
// when it ends.
void reset_blocks();

// --- Pointer Values ----------------------------------------------------------------

// A pointer Value of kind handle or resource naming h.
Value make_handle_value(HandleId h, PointerKind kind = PointerKind::handle);
// The live, plain handle named by a handle or resource pointer; error 2
// otherwise.
HandleId handle_of(Value v);
// The address of a pointer Value of kind pointer or memory pointer; error 2
// for any other Value.
WorldAddress address_of(Value v);

}  // namespace orvane
