// Handles, pointer blocks and checked raw memory as Lisp sees them.
#include "lib/blocks_primitives.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/native_forms.h"
#include "lib/streams.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

std::uint32_t count_of(Value v) {
  std::int32_t n = integer_of(v);
  if (n < 0) raise_error(2, v);
  return static_cast<std::uint32_t>(n);
}

Value integer_result(std::uint64_t n) {
  return make_integer(static_cast<std::int64_t>(std::min<std::uint64_t>(n, std::numeric_limits<std::int32_t>::max())));
}

// The address a pointer Value designates plus a sum of integer offsets, in
// 32-bit arithmetic.
WorldAddress offset_address(Value pointer, RestArgs offsets, std::size_t first) {
  std::uint32_t address = address_of(pointer);
  for (std::size_t i = first; offsets[i] != kAbsent; ++i)
    address += static_cast<std::uint32_t>(integer_of(offsets[i]));
  return address;
}

Value rest_at(RestArgs args, std::size_t i) {
  for (std::size_t k = 0; k < i; ++k)
    if (args[k] == kAbsent) return kNil;
  return args[i] == kAbsent ? kNil : args[i];
}

// --- Handles -------------------------------------------------------------------

Value p_new_handle(Value n) { return make_handle_value(new_handle(count_of(n))); }

Value p_dispose_handle(Value h) {
  dispose_handle(handle_of(h));
  node_of(h).w1 = 0;
  return kNoValue;
}

Value p_copy_handle(Value h) {
  HandleId from = handle_of(h);
  std::uint32_t n = handle_size(from);
  // The source stays locked so that the purge of the new request spares it.
  HandleLock lock(from);
  HandleId to = new_handle_or_fail(n);
  auto bytes = lock.bytes();
  if (!bytes.empty()) std::memcpy(handle_bytes(to).data(), bytes.data(), bytes.size());
  return make_handle_value(to);
}

Value p_get_handle_size(Value h) { return make_integer(handle_size(handle_of(h))); }

Value p_set_handle_size(Value h, Value n) {
  HandleId id = handle_of(h);
  if (!set_handle_size(id, count_of(n))) raise_error(9, n);
  return kNoValue;
}

Value p_hlock(Value h) { return make_pointer(lock_handle(handle_of(h)), PointerKind::pointer); }

Value p_hunlock(Value h) {
  unlock_handle(handle_of(h));
  return kNoValue;
}

Value p_hpurge(Value h) {
  set_handle_purgeable(handle_of(h), true);
  return kNoValue;
}

Value p_hnopurge(Value h) {
  set_handle_purgeable(handle_of(h), false);
  return kNoValue;
}

Value p_hgetstate(Value h) { raise_error(47, h); }
Value p_hsetstate(Value h, Value) { raise_error(47, h); }

// --- Pointer blocks -------------------------------------------------------------

Value p_new_ptr(Value n) { return make_pointer(new_pointer(count_of(n)), PointerKind::memory_pointer); }

Value p_dispose_ptr(Value p) {
  WorldAddress at = address_of(p);
  if (!is_pointer_block(at)) raise_error(2, p);
  dispose_pointer(at);
  node_of(p).w1 = 0;
  return kNoValue;
}

Value p_add_ptr(Value p, RestArgs offsets) {
  return make_pointer(offset_address(p, offsets, 0), PointerKind::pointer);
}

Value p_null_ptr() { return make_pointer(0, PointerKind::pointer); }

Value require_pointer(Value p) {
  if (!is_pointer(p)) raise_error(2, p);
  return p;
}

Value p_null_ptr_p(Value p) { return boolean(pointer_address(require_pointer(p)) == 0); }

Value p_ptr_equal_p(Value a, Value b) {
  return boolean(pointer_address(require_pointer(a)) == pointer_address(require_pointer(b)));
}

Value p_number_to_pointer(Value n) {
  return make_pointer(static_cast<std::uint32_t>(integer_of(n)), PointerKind::pointer);
}

Value p_pointer_to_number(Value p) {
  return make_integer(static_cast<std::int32_t>(pointer_address(require_pointer(p))));
}

// --- Raw memory -----------------------------------------------------------------

// The bytes a size code covers: the signed 16-bit codes (3, -3) are two wide.
std::uint32_t width_of(std::int32_t code) {
  switch (code < 0 ? -code : code) {
    case 1: return 1;
    case 4: return 4;
    default: return 2;
  }
}

Value p_mref(RestArgs args) {
  Value code_value = rest_at(args, 0);
  std::int32_t code = is_integer(code_value) ? integer_of(code_value) : 0;
  if (code != 1 && code != 2 && code != 3 && code != 4 && code != -2 && code != -3 && code != -4)
    raise_error(2, code_value);
  Value pointer = rest_at(args, 1);
  WorldAddress at = offset_address(pointer, args, 2);
  const std::uint8_t* p = checked_bytes(at, width_of(code), Access::read, pointer);
  auto be16 = [&] { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); };
  auto le16 = [&] { return static_cast<std::uint16_t>(p[1] << 8 | p[0]); };
  switch (code) {
    case 1: return make_fixnum(p[0]);
    case 2: return make_fixnum(le16());
    case 3: return make_fixnum(static_cast<std::int16_t>(le16()));
    case -2: return make_fixnum(be16());
    case -3: return make_fixnum(static_cast<std::int16_t>(be16()));
    case 4:
      return make_integer(static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                                    std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24));
    default:
      return make_integer(static_cast<std::int32_t>(std::uint32_t{p[3]} | std::uint32_t{p[2]} << 8 |
                                                    std::uint32_t{p[1]} << 16 | std::uint32_t{p[0]} << 24));
  }
}

Value p_mset(RestArgs args) {
  Value code_value = rest_at(args, 0);
  Value v = rest_at(args, 1);
  std::int32_t code = is_integer(code_value) ? integer_of(code_value) : 0;
  bool narrow = code == 1 || code == 2 || code == -2;
  bool wide = code == 4 || code == -4;
  if (!(narrow && is_fixnum(v)) && !(wide && is_integer(v))) raise_error(2, code_value);
  auto x = static_cast<std::uint32_t>(integer_of(v));
  Value pointer = rest_at(args, 2);
  WorldAddress at = offset_address(pointer, args, 3);
  std::uint8_t* p = checked_bytes(at, width_of(code), Access::write, pointer);
  bool big_endian = code < 0;
  std::uint32_t n = width_of(code);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::uint32_t shift = 8 * (big_endian ? n - 1 - i : i);
    p[i] = static_cast<std::uint8_t>(x >> shift);
  }
  return v;
}

Value p_equal_block_p(Value a, Value b, Value n) {
  std::uint32_t count = count_of(n);
  const std::uint8_t* pa = checked_bytes(address_of(a), count, Access::read, a);
  const std::uint8_t* pb = checked_bytes(address_of(b), count, Access::read, b);
  return boolean(count == 0 || std::memcmp(pa, pb, count) == 0);
}

Value p_block_move(Value from, Value to, Value n) {
  std::uint32_t count = count_of(n);
  const std::uint8_t* src = checked_bytes(address_of(from), count, Access::read, from);
  std::uint8_t* dst = checked_bytes(address_of(to), count, Access::write, to);
  if (count) std::memmove(dst, src, count);
  return kNoValue;
}

// --- Memory accounting -------------------------------------------------------------

Value p_compact_memory(Value n) { return integer_result(purge_memory(count_of(n))); }

Value p_space_available_p(Value n) {
  std::int32_t want = integer_of(n);
  return boolean(want < 0 || static_cast<std::uint64_t>(want) < available_memory());
}

}  // namespace

// `with` releases the memory pointers and handles it bound.
void dispose_memory_block(Value pointer) {
  if (!is_pointer(pointer)) return;
  std::uint32_t word = pointer_address(pointer);
  if (word == 0) return;
  switch (pointer_kind(pointer)) {
    case PointerKind::handle:
      if (!handle_is_live(word)) return;
      dispose_handle(word);
      break;
    case PointerKind::memory_pointer:
      if (!is_pointer_block(word)) return;
      dispose_pointer(word);
      break;
    default:
      return;
  }
  node_of(pointer).w1 = 0;
}

namespace {

// `set-symbols-table` loads the compact symbol list held by a handle (nil
// releases it). The bytes are copied first: loading interns, which may move
// the handle's block.
Value p_set_symbols_table(Value source) {
  if (is_false(source)) {
    release_symbol_list();
    return kNoValue;
  }
  auto held = handle_bytes(handle_of(source));
  std::vector<std::uint8_t> bytes(held.begin(), held.end());
  load_symbol_list(bytes.data(), bytes.size());
  return kNoValue;
}

}  // namespace

void register_blocks() {
  reset_blocks();
  defprim("new-handle", p_new_handle);
  defprim("dispose-handle", p_dispose_handle);
  defprim("copy-handle", p_copy_handle);
  defprim("get-handle-size", p_get_handle_size);
  defprim("set-handle-size", p_set_handle_size);
  defprim("reallocate-handle", p_set_handle_size);
  defprim("hlock", p_hlock);
  defprim("hunlock", p_hunlock);
  defprim("hpurge", p_hpurge);
  defprim("hnopurge", p_hnopurge);
  defprim("hgetstate", p_hgetstate);
  defprim("hsetstate", p_hsetstate);
  defprim("new-ptr", p_new_ptr);
  defprim("dispose-ptr", p_dispose_ptr);
  defprim("add-ptr", p_add_ptr);
  defprim("mref", p_mref);
  defprim("mset", p_mset);
  defprim("equal-block?", p_equal_block_p);
  defprim("block-move", p_block_move);
  defprim("compact-memory", p_compact_memory);
  defprim("space-available?", p_space_available_p);
  defprim("null-ptr", p_null_ptr);
  defprim("null-ptr?", p_null_ptr_p);
  defprim("ptr-equal?", p_ptr_equal_p);
  defprim("number->pointer", p_number_to_pointer);
  defprim("pointer->number", p_pointer_to_number);
  defprim("set-symbols-table", p_set_symbols_table, arity::system);
  register_streams();
}

}  // namespace orvane
