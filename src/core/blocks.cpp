#include "core/blocks.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "core/blocks_allocator.h"
#include "core/errors.h"
#include "core/memory.h"
#include "core/runtime.h"
#include "platform/memory_status.h"

namespace orvane {

namespace {

constexpr std::uint32_t kTableGrowth = 32;
// Handle numbers stay well inside the fixnum range so that they print and
// convert like any small integer.
constexpr std::uint32_t kMaxHandles = 1u << 22;
constexpr std::uint64_t kHostMargin = 1000000;
constexpr std::uint32_t kPointerHeader = 4;
constexpr std::uint64_t kLazyZeroThreshold = 64u << 10;
constexpr std::int32_t kFreeEntry = -1;
// Freed blocks wait in a quarantine before their addresses can be handed
// out again, so that a stale address keeps failing the checks for a while
// instead of reaching a newer block.
constexpr std::size_t kQuarantineEntries = 256;
constexpr std::uint64_t kQuarantineBytes = 1u << 20;

struct HandleEntry {
  std::int32_t size = kFreeEntry;  // bytes; 0 for an empty handle; -1 for a free entry
  std::uint32_t block = 0;         // block address, or for a free entry the next free entry
  std::uint32_t locks = 0;
  bool purgeable = false;
  bool pointer_block = false;
  bool internal = false;  // closed to raw access from Lisp
};

void release_world_pages(std::uint32_t offset, std::uint64_t size) {
  if (Runtime* rt = Runtime::current()) rt->address_space().release(offset, static_cast<std::size_t>(size));
}

// The layer's state: one of the run-time's documented singletons.
struct BlockLayer {
  std::vector<HandleEntry> entries;
  HandleId free_head = 0;
  std::uint64_t total = 0;
  std::optional<std::uint64_t> configured_total;
  std::uint32_t live = 0;
  RangeAllocator allocator{kBlockRangeStart, kBlockRangeEnd, release_world_pages};
  std::map<WorldAddress, HandleId> by_address;  // every live block, by start
  std::deque<std::pair<WorldAddress, std::uint64_t>> quarantine;
  std::uint64_t quarantine_bytes = 0;
};

BlockLayer& layer() {
  static BlockLayer l;
  return l;
}

// Zero-fills new bytes; large ranges get fresh pages instead of a memset so
// that nothing is committed before it is used.
void zero_bytes(WorldAddress at, std::uint64_t n) {
  if (n == 0) return;
  if (n >= kLazyZeroThreshold && Runtime::current()) {
    constexpr std::uint64_t page = 4096;
    std::uint64_t first = (std::uint64_t{at} + page - 1) & ~(page - 1);
    std::uint64_t last = (std::uint64_t{at} + n) & ~(page - 1);
    std::memset(host(at), 0, first - at);
    release_world_pages(static_cast<std::uint32_t>(first), last - first);
    std::memset(g_mem.world + last, 0, std::uint64_t{at} + n - last);
    return;
  }
  std::memset(host(at), 0, n);
}

void flush_quarantine() {
  auto& l = layer();
  for (auto [at, size] : l.quarantine) l.allocator.free(at, size);
  l.quarantine.clear();
  l.quarantine_bytes = 0;
}

// Gives a block's range back to the allocator, through the quarantine.
void retire_range(WorldAddress at, std::uint64_t size) {
  auto& l = layer();
  if (size > kQuarantineBytes) {
    l.allocator.free(at, size);
    return;
  }
  l.quarantine.emplace_back(at, size);
  l.quarantine_bytes += size;
  while (l.quarantine.size() > kQuarantineEntries || l.quarantine_bytes > kQuarantineBytes) {
    auto [old_at, old_size] = l.quarantine.front();
    l.quarantine.pop_front();
    l.quarantine_bytes -= old_size;
    l.allocator.free(old_at, old_size);
  }
}

HandleEntry& live_entry(HandleId h) {
  auto& e = layer().entries;
  if (h == 0 || h >= e.size() || e[h].size == kFreeEntry) raise_error(2, make_integer(h));
  return e[h];
}

void grow_table() {
  auto& l = layer();
  std::size_t old = l.entries.size();
  if (old + kTableGrowth > kMaxHandles) raise_error(9, kNil);
  l.entries.resize(old + kTableGrowth);
  // Pushed in ascending order: the highest new number is handed out first.
  for (std::size_t i = std::max<std::size_t>(old, 1); i < old + kTableGrowth; ++i) {
    l.entries[i] = HandleEntry{};
    l.entries[i].block = l.free_head;
    l.free_head = static_cast<HandleId>(i);
  }
}

std::optional<WorldAddress> allocate_block(std::uint64_t n) {
  if (n > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  std::uint64_t host_free = platform::available_host_memory();
  if (host_free != 0 && n > host_free) return std::nullopt;
  auto& l = layer();
  auto at = l.allocator.allocate(n);
  if (!at && !l.quarantine.empty()) {
    flush_quarantine();
    at = l.allocator.allocate(n);
  }
  if (at) zero_bytes(*at, n);
  return at;
}

void release_block(HandleEntry& e) {
  if (e.block == 0) return;
  auto& l = layer();
  l.by_address.erase(e.block);
  retire_range(e.block, static_cast<std::uint64_t>(e.size));
  l.total -= static_cast<std::uint64_t>(e.size);
  e.block = 0;
  e.size = 0;
  e.locks = 0;
}

void free_entry(HandleId h) {
  auto& l = layer();
  HandleEntry& e = l.entries[h];
  release_block(e);
  e = HandleEntry{};
  e.block = l.free_head;
  l.free_head = h;
  --l.live;
}

HandleId take_entry() {
  auto& l = layer();
  if (l.free_head == 0) grow_table();
  HandleId h = l.free_head;
  HandleEntry& e = l.entries[h];
  l.free_head = e.block;
  e = HandleEntry{};
  e.size = 0;
  ++l.live;
  return h;
}

std::uint64_t configured_total() {
  auto& l = layer();
  if (l.configured_total) return *l.configured_total;
  if (Runtime* rt = Runtime::current()) return rt->layout().block_size + rt->layout().reserve;
  return 0;
}

// The live block holding [address, address + n), or null.
const HandleEntry* block_holding(WorldAddress address, std::uint64_t n) {
  auto& l = layer();
  auto it = l.by_address.upper_bound(address);
  if (it == l.by_address.begin()) return nullptr;
  --it;
  const HandleEntry& e = l.entries[it->second];
  if (std::uint64_t{address} + n > std::uint64_t{e.block} + static_cast<std::uint32_t>(e.size)) return nullptr;
  return &e;
}

HandleEntry* pointer_block_entry(WorldAddress p) {
  if (p < kBlockRangeStart + kPointerHeader) return nullptr;
  auto& l = layer();
  auto it = l.by_address.find(p - kPointerHeader);
  if (it == l.by_address.end()) return nullptr;
  HandleEntry& e = l.entries[it->second];
  return e.pointer_block ? &e : nullptr;
}

WorldAddress make_pointer_block(std::uint32_t n, bool internal) {
  if (n > std::numeric_limits<std::uint32_t>::max() - kPointerHeader) return 0;
  HandleId h = new_handle(n + kPointerHeader);
  if (h == 0) return 0;
  HandleEntry& e = layer().entries[h];
  if (e.block == 0) {  // cannot happen: the size is at least 4
    dispose_handle(h);
    return 0;
  }
  e.locks = 1;
  e.pointer_block = true;
  e.internal = internal;
  std::uint8_t* p = host(e.block);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(h >> (8 * i));
  return e.block + kPointerHeader;
}

}  // namespace

// --- Handles -------------------------------------------------------------------

HandleId new_handle(std::uint32_t n) {
  purge_memory(n);
  HandleId h = take_entry();
  if (n == 0) return h;
  auto at = allocate_block(n);
  if (!at) {
    free_entry(h);
    return 0;
  }
  auto& l = layer();
  HandleEntry& e = l.entries[h];
  e.block = *at;
  e.size = static_cast<std::int32_t>(n);
  l.total += n;
  l.by_address.emplace(*at, h);
  return h;
}

HandleId new_handle_or_fail(std::uint32_t n) {
  HandleId h = new_handle(n);
  if (h == 0) raise_error(9, make_integer(n));
  return h;
}

HandleId new_handle_with(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > std::numeric_limits<std::int32_t>::max()) raise_error(9, kNil);
  HandleId h = new_handle_or_fail(static_cast<std::uint32_t>(bytes.size()));
  if (!bytes.empty()) std::memcpy(host(layer().entries[h].block), bytes.data(), bytes.size());
  return h;
}

void dispose_handle(HandleId h) {
  live_entry(h);
  free_entry(h);
}

void dispose_handle_if_live(HandleId h) noexcept {
  if (handle_is_live(h)) free_entry(h);
}

bool handle_is_live(HandleId h) {
  auto& e = layer().entries;
  return h != 0 && h < e.size() && e[h].size != kFreeEntry;
}

bool handle_is_plain(HandleId h) {
  if (!handle_is_live(h)) return false;
  const HandleEntry& e = layer().entries[h];
  return !e.pointer_block && !e.internal;
}

std::uint32_t handle_size(HandleId h) { return static_cast<std::uint32_t>(live_entry(h).size); }

bool set_handle_size(HandleId h, std::uint32_t n) {
  HandleEntry& e = live_entry(h);
  auto& l = layer();
  if (n == 0) {
    release_block(e);
    return true;
  }
  if (n > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return false;
  auto old = static_cast<std::uint32_t>(e.size);
  if (e.block == 0) {
    auto at = allocate_block(n);
    if (!at) return false;
    e.block = *at;
    l.by_address.emplace(*at, h);
  } else if (l.allocator.resize_in_place(e.block, old, n)) {
    if (n > old) zero_bytes(e.block + old, n - old);
  } else {
    // Moving would leave the addresses handed out by hlock dangling.
    if (e.locks > 0) return false;
    auto at = allocate_block(n);
    if (!at) return false;
    std::memcpy(host(*at), host(e.block), old);
    l.by_address.erase(e.block);
    retire_range(e.block, old);
    e.block = *at;
    l.by_address.emplace(*at, h);
  }
  l.total = l.total - old + n;
  e.size = static_cast<std::int32_t>(n);
  return true;
}

WorldAddress lock_handle(HandleId h) {
  HandleEntry& e = live_entry(h);
  if (e.block == 0) raise_error(60, kNil);
  ++e.locks;
  return e.block;
}

void unlock_handle(HandleId h) {
  HandleEntry& e = live_entry(h);
  // A pointer block stays locked for its lifetime.
  if (e.locks > (e.pointer_block ? 1u : 0u)) --e.locks;
}

std::uint32_t handle_lock_count(HandleId h) { return live_entry(h).locks; }
void set_handle_purgeable(HandleId h, bool purgeable) { live_entry(h).purgeable = purgeable; }
bool handle_purgeable(HandleId h) { return live_entry(h).purgeable; }

std::span<std::uint8_t> handle_bytes(HandleId h) {
  HandleEntry& e = live_entry(h);
  if (e.block == 0) return {};
  return {host(e.block), static_cast<std::size_t>(e.size)};
}

HandleLock::HandleLock(HandleId h) : handle_(h), address_(0) {
  if (live_entry(h).block != 0) address_ = lock_handle(h);
}

HandleLock::~HandleLock() {
  if (address_ != 0 && handle_is_live(handle_)) unlock_handle(handle_);
}

std::span<std::uint8_t> HandleLock::bytes() const {
  if (address_ == 0 || !handle_is_live(handle_)) return {};
  return handle_bytes(handle_);
}

// --- Pointer blocks ----------------------------------------------------------

WorldAddress new_pointer(std::uint32_t n) { return make_pointer_block(n, false); }

WorldAddress new_pointer_or_fail(std::uint32_t n) {
  WorldAddress p = new_pointer(n);
  if (p == 0) raise_error(9, make_integer(n));
  return p;
}

WorldAddress new_internal_pointer_or_fail(std::uint32_t n) {
  WorldAddress p = make_pointer_block(n, true);
  if (p == 0) raise_error(9, make_integer(n));
  return p;
}

void dispose_pointer(WorldAddress p) { dispose_handle(pointer_block_handle(p)); }

bool is_pointer_block(WorldAddress p) { return pointer_block_entry(p) != nullptr; }

std::uint32_t pointer_block_size(WorldAddress p) {
  return handle_size(pointer_block_handle(p)) - kPointerHeader;
}

HandleId pointer_block_handle(WorldAddress p) {
  // The handle number stored before the pointer is Lisp-writable and so not
  // trusted: the block is found by its address.
  if (!pointer_block_entry(p)) raise_error(2, make_pointer(p, PointerKind::memory_pointer));
  return layer().by_address.find(p - kPointerHeader)->second;
}

// --- Checked raw access --------------------------------------------------------

std::uint8_t* find_bytes(WorldAddress address, std::uint32_t n, Access access) {
  if (address == 0) return nullptr;
  if (const HandleEntry* e = block_holding(address, n)) return e->internal ? nullptr : host(address);
  if (access == Access::read && address >= g_mem.block_start &&
      std::uint64_t{address} + n <= g_mem.block_end)
    return host(address);
  return nullptr;
}

std::uint8_t* checked_bytes(WorldAddress address, std::uint32_t n, Access access, Value culprit) {
  std::uint8_t* p = find_bytes(address, n, access);
  if (!p) raise_error(2, culprit);
  return p;
}

// --- Memory accounting -----------------------------------------------------------

std::uint64_t blocks_total() { return layer().total; }

std::uint64_t available_memory() {
  auto& l = layer();
  std::uint64_t configured = configured_total();
  std::uint64_t by_total = configured > l.total ? configured - l.total : 0;
  std::uint64_t host_free = platform::available_host_memory();
  std::uint64_t by_host = host_free > kHostMargin ? host_free - kHostMargin : 0;
  return std::min({by_total, by_host, l.allocator.free_bytes() + l.quarantine_bytes});
}

std::uint64_t purge_memory(std::uint64_t n) {
  std::uint64_t available = available_memory();
  if (available >= n) return available;
  std::uint64_t released = 0;
  for (HandleEntry& e : layer().entries) {
    if (e.size > 0 && e.block != 0 && e.purgeable && e.locks == 0) {
      released += static_cast<std::uint32_t>(e.size);
      release_block(e);
    }
  }
  return available + released;
}

void set_configured_total(std::uint64_t bytes) { layer().configured_total = bytes; }

std::uint32_t live_handle_count() { return layer().live; }

void reset_blocks() {
  auto& l = layer();
  l.entries.clear();
  l.entries.shrink_to_fit();
  l.free_head = 0;
  l.total = 0;
  l.live = 0;
  l.configured_total.reset();
  l.allocator.reset();
  l.by_address.clear();
  l.quarantine.clear();
  l.quarantine_bytes = 0;
}

// --- Pointer Values ------------------------------------------------------------------

Value make_handle_value(HandleId h, PointerKind kind) { return make_pointer(h, kind); }

HandleId handle_of(Value v) {
  if (!is_pointer(v)) raise_error(2, v);
  PointerKind k = pointer_kind(v);
  if (k != PointerKind::handle && k != PointerKind::resource) raise_error(2, v);
  HandleId h = pointer_address(v);
  if (!handle_is_plain(h)) raise_error(2, v);
  return h;
}

WorldAddress address_of(Value v) {
  if (!is_pointer(v)) raise_error(2, v);
  PointerKind k = pointer_kind(v);
  if (k != PointerKind::pointer && k != PointerKind::memory_pointer) raise_error(2, v);
  return pointer_address(v);
}

}  // namespace orvane
