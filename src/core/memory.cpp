#include "core/memory.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/collector.h"
#include "core/errors.h"
#include "core/gc_internal.h"

namespace orvane {

// --- Allocation --------------------------------------------------------------

namespace {

bool enough(std::uint32_t nodes, std::uint32_t bytes) {
  return g_mem.free_count >= nodes &&
         std::uint64_t{g_mem.heap_alloc} + bytes <= g_mem.heap_end;
}

// Takes a node without any check; the caller guaranteed one is free.
std::uint32_t take_node() {
  std::uint32_t off = g_mem.free_head;
  g_mem.free_head = node_at(off).w1 & kPayloadMask;
  --g_mem.free_count;
  return off;
}

}  // namespace

void ensure_free(std::uint32_t nodes, std::uint32_t bytes) {
  gc::check_not_collecting();
  if (enough(nodes, bytes) && !g_mem.gc_stress) return;
  collect();
  // Growth takes its room from the indirect area: never so much that the
  // bytes asked for no longer fit.
  if (g_mem.free_count < 5000) gc::grow_nodes_keeping(5000, bytes);
  if (!enough(nodes, bytes)) out_of_memory();
}

std::uint8_t* reserve_indirect(std::uint32_t n) {
  n &= 0xffff;
  if (g_mem.gc_stress || !(std::uint64_t{g_mem.heap_alloc} + n <= g_mem.heap_end && g_mem.free_count > 1))
    ensure_free(2, n);
  return host(g_mem.heap_alloc);
}

Value commit_indirect(std::uint32_t n, std::uint32_t value_tag, std::uint32_t header_tag) {
  std::uint32_t sentinel = take_node();
  node_at(sentinel) = Node{0, 0};
  std::uint32_t tail = g_mem.chain_tail;
  Node& t = node_at(tail);
  t.w0 = (header_tag << 24) | sentinel;
  t.w1 = g_mem.heap_alloc;
  g_mem.heap_alloc += (n + 1) & ~1u;
  g_mem.chain_tail = sentinel;
  return Value::make(value_tag, tail);
}

void lisp_stack_overflow() { raise_error(9, kNil); }

// --- Integers and reals --------------------------------------------------------

Value make_integer(std::int64_t x64) {
  auto x = static_cast<std::int32_t>(static_cast<std::uint32_t>(x64));
  if (fits_fixnum(x)) return make_fixnum(x);
  Value v = cons(kNil, kNil);
  Node& n = node_of(v);
  n.w0 = header::raw_word << 24;
  n.w1 = static_cast<std::uint32_t>(x);
  return Value::make(tag::long_int, v.payload());
}

std::int32_t integer_of(Value v) {
  if (is_fixnum(v)) return v.fixnum();
  if (is_long(v)) return static_cast<std::int32_t>(node_of(v).w1);
  raise_error(2, v);
}

Value make_real(double d) {
  std::uint8_t* p = reserve_indirect(8);
  std::memcpy(p, &d, 8);
  return commit_indirect(8, tag::real, header::real);
}

double real_of(Value v) {
  double d;
  std::memcpy(&d, indirect_data(v), 8);
  return d;
}

double double_of(Value v) {
  switch (v.tag()) {
    case tag::integer: return v.fixnum();
    case tag::long_int: return static_cast<std::int32_t>(node_of(v).w1);
    case tag::real: return real_of(v);
    default: raise_error(2, v);
  }
}

// --- Strings -----------------------------------------------------------------

Value make_string_uninit(std::uint32_t n) {
  std::uint8_t* p = reserve_indirect(n + 1);
  p[n] = 0;
  return commit_indirect(n + 1, tag::string, header::string);
}

Value make_string(std::string_view text) {
  // The text may itself lie in the indirect area: measure the distance from
  // the heap base so that it can be found again after a collection moves it.
  const auto* src = reinterpret_cast<const std::uint8_t*>(text.data());
  bool in_heap = src >= host(g_mem.heap_start) && src < host(g_mem.heap_end);
  if (in_heap) {
    std::string copy(text);
    return make_string(std::string_view(copy));  // copy lives on the host heap
  }
  auto n = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), 0xfffe));
  std::uint8_t* p = reserve_indirect(n + 1);
  std::memcpy(p, text.data(), n);
  p[n] = 0;
  return commit_indirect(n + 1, tag::string, header::string);
}

std::string_view string_view_of(Value s) {
  const char* p = reinterpret_cast<const char*>(host(node_of(s).w1));
  return std::string_view(p);
}

// --- Constant texts ---------------------------------------------------------

namespace {
// Constant texts live in their own range of the world, below the Lisp block.
inline constexpr std::uint32_t kConstantStart = 0x10000;
inline constexpr std::uint32_t kConstantEnd = 0x1000000;
std::uint32_t g_constant_top = kConstantStart;
}  // namespace

void reset_constant_texts() { g_constant_top = kConstantStart; }

std::uint32_t constant_text(std::string_view text) {
  auto n = static_cast<std::uint32_t>(text.size());
  if (g_constant_top + n + 2 > kConstantEnd) raise_error(9, kNil);
  std::uint32_t at = g_constant_top;
  std::memcpy(host(at), text.data(), n);
  host(at)[n] = 0;
  g_constant_top = (at + n + 2) & ~1u;
  return at;
}

Value make_constant_string(std::string_view text) {
  std::uint32_t at = constant_text(text);
  Value v = cons(kNil, kNil);
  Node& n = node_of(v);
  n.w0 = kPermanentBit | (header::string << 24);
  n.w1 = at;
  return Value::make(tag::string, v.payload());
}

// --- Pointers and lists ------------------------------------------------------

Value make_pointer(std::uint32_t address, PointerKind kind) {
  Value v = cons(kNil, kNil);
  Node& n = node_of(v);
  n.w0 = (header::pointer << 24) | static_cast<std::uint32_t>(kind);
  n.w1 = address;
  return Value::make(tag::pointer, v.payload());
}

Value list_of(std::initializer_list<Value> items) {
  Value result = kNil;
  for (auto it = items.end(); it != items.begin();) result = cons(*--it, result);
  return result;
}

std::uint32_t list_length(Value list) {
  std::uint32_t n = 0;
  for (; is_pair(list); list = cdr(list)) ++n;
  return n;
}

}  // namespace orvane
