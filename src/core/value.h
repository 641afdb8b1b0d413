// The Value word: a 6-bit type tag over a 24-bit payload.
//
// Invariant: bits 30 (permanent) and 31 (mark) are zero in every Value handed
// around; they only have meaning in word 0 of a node.
#pragma once

#include <cstdint>

namespace orvane {

namespace tag {
inline constexpr std::uint32_t address = 0x00;
inline constexpr std::uint32_t integer = 0x02;
inline constexpr std::uint32_t real = 0x03;
inline constexpr std::uint32_t variable = 0x04;
inline constexpr std::uint32_t no_value = 0x05;
inline constexpr std::uint32_t vector = 0x06;
inline constexpr std::uint32_t string = 0x07;
inline constexpr std::uint32_t symbol = 0x08;
inline constexpr std::uint32_t syntax = 0x09;
inline constexpr std::uint32_t instance = 0x0a;
inline constexpr std::uint32_t function = 0x0b;
inline constexpr std::uint32_t primitive = 0x0c;
inline constexpr std::uint32_t special = 0x0d;
inline constexpr std::uint32_t predicate = 0x0e;
inline constexpr std::uint32_t klass = 0x0f;
inline constexpr std::uint32_t hash_table = 0x10;
inline constexpr std::uint32_t lexical = 0x11;
inline constexpr std::uint32_t gamma = 0x12;
inline constexpr std::uint32_t long_int = 0x13;
inline constexpr std::uint32_t pointer = 0x14;
inline constexpr std::uint32_t closed = 0x15;
inline constexpr std::uint32_t link_cell = 0x16;
inline constexpr std::uint32_t bound_term = 0x1b;
inline constexpr std::uint32_t absent = 0x1f;
inline constexpr std::uint32_t first_form = 0x20;
inline constexpr std::uint32_t syntax_gamma = 0x23;
inline constexpr std::uint32_t closed_syntax = 0x33;
inline constexpr std::uint32_t last_form = 0x36;
inline constexpr std::uint32_t slot_descriptor = 0x3a;
inline constexpr std::uint32_t byte_block = 0x3b;
inline constexpr std::uint32_t slot_entry = 0x3d;
inline constexpr std::uint32_t array = 0x3e;
inline constexpr std::uint32_t list = 0x3f;
}  // namespace tag

// Tags found in word 0 of object nodes; never the tag of a Value.
namespace header {
inline constexpr std::uint32_t array = 0x17;
inline constexpr std::uint32_t raw_word = 0x18;
inline constexpr std::uint32_t hash_table = 0x1a;
inline constexpr std::uint32_t vector = 0x1c;
inline constexpr std::uint32_t real = 0x1d;
inline constexpr std::uint32_t string = 0x1e;
inline constexpr std::uint32_t pointer = 0x35;
inline constexpr std::uint32_t slot_descriptor = 0x37;
inline constexpr std::uint32_t class_record = 0x38;
inline constexpr std::uint32_t instance_record = 0x39;
inline constexpr std::uint32_t byte_block = 0x3c;
}  // namespace header

// The evaluator's built-in form tags (the values of `quote`, `if`, ...).
namespace form {
inline constexpr std::uint32_t quote = 0x20;
inline constexpr std::uint32_t if_ = 0x21;
inline constexpr std::uint32_t when = 0x22;
inline constexpr std::uint32_t cond = 0x24;
inline constexpr std::uint32_t set = 0x25;
inline constexpr std::uint32_t new_clause = 0x26;
inline constexpr std::uint32_t case_ = 0x27;
inline constexpr std::uint32_t repeat = 0x28;
inline constexpr std::uint32_t until = 0x29;
inline constexpr std::uint32_t while_ = 0x2a;
inline constexpr std::uint32_t begin = 0x2b;
inline constexpr std::uint32_t or_ = 0x2c;
inline constexpr std::uint32_t and_ = 0x2d;
inline constexpr std::uint32_t lambda = 0x2e;
inline constexpr std::uint32_t send = 0x2f;
inline constexpr std::uint32_t gamma = 0x30;
inline constexpr std::uint32_t syntax = 0x31;
inline constexpr std::uint32_t fluid_let = 0x32;
inline constexpr std::uint32_t syntax_gamma = 0x34;
inline constexpr std::uint32_t let = 0x36;
}  // namespace form

inline constexpr std::uint32_t kPermanentBit = 0x40000000u;
inline constexpr std::uint32_t kMarkBit = 0x80000000u;
inline constexpr std::uint32_t kPayloadMask = 0x00ffffffu;
inline constexpr std::uint32_t kCarMask = 0xbfffffffu;

struct Value {
  std::uint32_t bits = 0x3f000000u;

  constexpr Value() = default;
  constexpr explicit Value(std::uint32_t word) : bits(word) {}
  static constexpr Value make(std::uint32_t t, std::uint32_t payload) {
    return Value((t << 24) | (payload & kPayloadMask));
  }

  constexpr std::uint32_t tag() const { return (bits >> 24) & 0x3f; }
  constexpr std::uint32_t payload() const { return bits & kPayloadMask; }
  // Sign-extended payload of an immediate integer.
  constexpr std::int32_t fixnum() const {
    return static_cast<std::int32_t>(bits << 8) >> 8;
  }

  constexpr bool operator==(const Value&) const = default;
};

inline constexpr Value kNil{0x3f000000u};
inline constexpr Value kNoValue{0x05000000u};
inline constexpr Value kAbsent{0x1f000000u};
inline constexpr Value kNoObject{0x0f000000u};

inline constexpr std::int32_t kFixnumMax = 8388606;
inline constexpr std::int32_t kFixnumMin = -8388607;

constexpr bool is_nil(Value v) { return v == kNil; }
constexpr bool is_false(Value v) { return v == kNil || v == kNoValue; }
constexpr bool is_true(Value v) { return !is_false(v); }
constexpr bool is_fixnum(Value v) { return v.tag() == tag::integer; }
constexpr bool is_pair(Value v) { return v.tag() == tag::list && v.payload() != 0; }
constexpr bool is_list(Value v) { return v.tag() == tag::list; }
constexpr bool is_symbol(Value v) { return v.tag() == tag::symbol; }
constexpr bool is_string(Value v) { return v.tag() == tag::string; }
constexpr bool is_real(Value v) { return v.tag() == tag::real; }
constexpr bool is_long(Value v) { return v.tag() == tag::long_int; }
constexpr bool is_integer(Value v) { return is_fixnum(v) || is_long(v); }
constexpr bool is_number(Value v) { return is_integer(v) || is_real(v); }
constexpr bool is_vector(Value v) { return v.tag() == tag::vector; }
constexpr bool is_pointer(Value v) { return v.tag() == tag::pointer; }
constexpr bool is_variable(Value v) { return v.tag() == tag::variable; }
constexpr bool is_form_tag(std::uint32_t t) {
  return t >= tag::first_form && t <= tag::last_form && t != tag::syntax_gamma &&
         t != tag::closed_syntax && t != header::pointer;
}

constexpr bool fits_fixnum(std::int64_t x) { return x >= kFixnumMin && x <= kFixnumMax; }
constexpr Value make_fixnum(std::int32_t x) { return Value::make(tag::integer, static_cast<std::uint32_t>(x)); }

// Tags whose payload names a node that the collector traces as a pair.
constexpr bool is_node_traced_tag(std::uint32_t t) {
  switch (t) {
    case 0x04: case 0x09: case 0x0b: case 0x0e: case 0x11: case 0x12: case 0x15:
    case 0x16: case 0x1b: case 0x23: case 0x33: case 0x3d: case 0x3f:
      return true;
    default:
      return false;
  }
}

// The header tag that an indirect or object Value's node carries, or 0.
constexpr std::uint32_t header_of_tag(std::uint32_t t) {
  switch (t) {
    case tag::real: return header::real;
    case tag::vector: return header::vector;
    case tag::string: return header::string;
    case tag::instance: return header::instance_record;
    case tag::klass: return header::class_record;
    case tag::hash_table: return header::hash_table;
    case tag::long_int: return header::raw_word;
    case tag::pointer: return header::pointer;
    case tag::slot_descriptor: return header::slot_descriptor;
    case tag::byte_block: return header::byte_block;
    case tag::array: return header::array;
    default: return 0;
  }
}

// Pointer kinds (bits 0-23 of a pointer node's word 0).
enum class PointerKind : std::uint32_t {
  pointer = 0, memory_pointer = 1, handle = 2, resource = 3, cpp_object = 4,
  frame_pointer = 5, file = 6, text = 7, port = 8, offscreen = 9, picture = 10,
  region = 11, database = 12, record = 13, process = 14, drag_info = 15,
};

}  // namespace orvane
