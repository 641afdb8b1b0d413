#include "lib/charsets_blocks.h"

#include "core/memory.h"
#include "eval/errors.h"

namespace orvane::charsets {

std::uint32_t count_argument(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  std::int32_t n = integer_of(v);
  if (n < 0) raise_error(2, v);
  return static_cast<std::uint32_t>(n);
}

std::uint8_t* text_bytes(Value pointer, std::uint32_t n, Access access) {
  if (is_pointer(pointer) &&
      (pointer_kind(pointer) == PointerKind::handle || pointer_kind(pointer) == PointerKind::resource)) {
    std::span<std::uint8_t> block = handle_bytes(handle_of(pointer));
    if (n > block.size()) raise_error(2, pointer);
    return block.data();
  }
  return checked_bytes(address_of(pointer), n, access, pointer);
}

std::vector<std::uint8_t> copy_text(Value pointer, std::uint32_t n) {
  const std::uint8_t* bytes = text_bytes(pointer, n, Access::read);
  return std::vector<std::uint8_t>(bytes, bytes + n);
}

}  // namespace orvane::charsets
