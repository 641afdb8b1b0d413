#include "storage/resource_handles.h"

#include "core/blocks.h"

namespace orvane {

// Only plain handles carry resources: pointer blocks and native tables are
// handles too, but never a resource's.
bool BlockHandleStore::is_live(std::uint32_t h) const { return handle_is_plain(h); }

std::uint32_t BlockHandleStore::create() { return new_handle(0); }

bool BlockHandleStore::resize(std::uint32_t h, std::uint32_t size) {
  return is_live(h) && set_handle_size(h, size);
}

std::uint32_t BlockHandleStore::size(std::uint32_t h) const { return is_live(h) ? handle_size(h) : 0; }

std::span<std::uint8_t> BlockHandleStore::bytes(std::uint32_t h) {
  return is_live(h) ? handle_bytes(h) : std::span<std::uint8_t>();
}

bool BlockHandleStore::has_storage(std::uint32_t h) const { return size(h) != 0; }

void BlockHandleStore::set_purgeable(std::uint32_t h) {
  if (is_live(h)) set_handle_purgeable(h, true);
}

void BlockHandleStore::dispose(std::uint32_t h) { dispose_handle_if_live(h); }

}  // namespace orvane
