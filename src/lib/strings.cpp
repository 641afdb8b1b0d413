// The string primitives.
#include "lib/strings.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/real_text.h"

namespace orvane {

void register_string_memory();

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

// --- Conversion and copies ------------------------------------------------------------

Value p_string(Value v) { return text_of(v); }

Value p_copy_string(Value v) {
  std::string storage;
  std::string copy(text_view(v, storage));
  return make_string(copy);
}

Value p_string_p(Value v) { return boolean(is_string(v)); }
Value p_empty_string_p(Value v) { return boolean(is_string(v) && string_view_of(v).empty()); }

Value p_string_length(Value v) {
  std::string storage;
  return make_integer(static_cast<std::int64_t>(text_view(v, storage).size()));
}

// A new string of the text mapped byte by byte through a table.
Value mapped_copy(Value v, const CharTable& table) {
  std::string storage;
  std::string text(text_view(v, storage));
  for (char& c : text) c = static_cast<char>(table[static_cast<std::uint8_t>(c)]);
  return make_string(text);
}

Value p_upper_string(Value v) { return mapped_copy(v, kUpperCase); }
Value p_lower_string(Value v) { return mapped_copy(v, kLowerCase); }

// --- string-append ----------------------------------------------------------------------

// Composes the result directly at the allocation pointer: the pieces that
// are strings or symbol names are measured first and copied after the
// reservation (which may move them), nothing allocating in between.
Value p_string_append(RestArgs args) {
  std::size_t count = args.size();
  if (count == 0) return g_mem.empty_string;
  if (count == 1) return text_of(args[0]);
  std::vector<std::string> converted(count);
  std::size_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::string_view piece = text_view(args[i], converted[i]);
    total += piece.size();
    if (total > kMaxStringBytes) raise_error(2, args[i]);
  }
  auto n = static_cast<std::uint32_t>(total);
  std::uint8_t* out = reserve_indirect(n + 1);
  for (std::size_t i = 0; i < count; ++i) {
    Value v = args[i];
    std::string_view piece = is_string(v)   ? string_view_of(v)
                             : is_symbol(v) ? symbol_name(v)
                                            : std::string_view(converted[i]);
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  }
  *out = 0;
  return commit_indirect(n + 1, tag::string, header::string);
}

// --- Access by position -------------------------------------------------------------------

Value require_string(Value v) {
  if (!is_string(v)) raise_error(2, v);
  return v;
}

std::uint32_t position_in(Value s, Value index) {
  std::int32_t i = integer_of(index);
  if (i < 0 || static_cast<std::size_t>(i) >= string_view_of(s).size()) raise_error(2, index);
  return static_cast<std::uint32_t>(i);
}

Value p_string_ref(Value s, Value index) {
  std::uint32_t i = position_in(require_string(s), index);
  return make_fixnum(static_cast<std::uint8_t>(string_chars(s)[i]));
}

Value p_string_set(Value s, Value index, Value code) {
  std::int32_t c = integer_of(code);
  if (c > static_cast<std::int32_t>(kMaxRequestedString)) raise_error(2, code);
  std::uint32_t i = position_in(require_string(s), index);
  // Constant names of built-in symbols are not the program's to rewrite.
  if (node_of(s).w0 & kPermanentBit && node_of(s).w1 < g_mem.block_start) raise_error(2, s);
  string_chars(s)[i] = static_cast<char>(c & 0xff);
  return code;
}

// Position from a substring bound: negative counts from the end.
std::size_t bound_of(Value v, std::size_t length) {
  std::int64_t x = integer_of(v);
  if (x < 0) x += static_cast<std::int64_t>(length);
  if (x < 0) x = 0;
  return std::min<std::size_t>(static_cast<std::size_t>(x), length);
}

Value p_substring(Value text, Value start, Value end) {
  std::string storage;
  std::string_view s = text_view(text, storage);
  std::size_t from = bound_of(start, s.size());
  std::size_t to = end == kNil ? s.size() : bound_of(end, s.size());
  if (from >= to) return g_mem.empty_string;
  std::string piece(s.substr(from, to - from));
  return make_string(piece);
}

Value p_memstring(Value pattern, Value text, Value fold) {
  std::string pattern_storage, text_storage;
  std::string p(text_view(pattern, pattern_storage));
  std::string t(text_view(text, text_storage));
  if (p.size() > t.size()) return kNil;
  bool folded = is_true(fold);
  auto same = [&](char a, char b) {
    return folded ? kUpperCase[static_cast<std::uint8_t>(a)] == kUpperCase[static_cast<std::uint8_t>(b)] : a == b;
  };
  for (std::size_t at = 0; at + p.size() <= t.size(); ++at) {
    std::size_t k = 0;
    while (k < p.size() && same(t[at + k], p[k])) ++k;
    if (k == p.size()) return make_string(std::string_view(t).substr(at));
  }
  return kNil;
}

// --- Comparison -----------------------------------------------------------------------------

// The texts of two Values. A conversion may allocate and so move strings
// in the indirect area: both conversions are made before either view of a
// string's own characters is taken.
struct TwoTexts {
  std::string storage_a, storage_b;
  std::string_view a, b;
  TwoTexts(Value x, Value y) {
    bool direct_x = is_string(x) || is_symbol(x);
    bool direct_y = is_string(y) || is_symbol(y);
    if (!direct_x) text_view(x, storage_a);
    if (!direct_y) text_view(y, storage_b);
    a = direct_x ? text_view(x, storage_a) : std::string_view(storage_a);
    b = direct_y ? text_view(y, storage_b) : std::string_view(storage_b);
  }
};

int compare_values(Value a, Value b) {
  TwoTexts t(a, b);
  return compare_texts(t.a, t.b);
}

bool texts_equal(Value a, Value b) {
  TwoTexts t(a, b);
  return t.a == t.b;
}

Value p_string_eq(Value a, Value b) { return boolean(texts_equal(a, b)); }
Value p_string_ne(Value a, Value b) { return boolean(!texts_equal(a, b)); }

Value p_string_nocase_eq(Value a, Value b, Value accents) {
  TwoTexts t(a, b);
  return boolean(equal_through(t.a, t.b, is_true(accents) ? kCollation : kUpperCase));
}

Value p_string_lt(Value a, Value b) { return boolean(compare_values(a, b) < 0); }
Value p_string_le(Value a, Value b) { return boolean(compare_values(a, b) <= 0); }
Value p_string_ge(Value a, Value b) { return boolean(compare_values(a, b) >= 0); }
Value p_string_gt(Value a, Value b) { return boolean(compare_values(a, b) > 0); }

// --- Symbols and numbers ---------------------------------------------------------------------

Value p_string_to_symbol(Value v) {
  std::string storage;
  std::string name(text_view(v, storage));
  return intern(name);
}

Value p_make_string(Value n) {
  std::int32_t count = integer_of(n);
  if (count < 0 || count > static_cast<std::int32_t>(kMaxRequestedString)) raise_error(2, n);
  Value s = make_string_uninit(static_cast<std::uint32_t>(count));
  std::memset(string_chars(s), ' ', static_cast<std::size_t>(count));
  return s;
}

Value p_string_to_int(Value v) {
  std::string storage;
  auto n = parse_integer_text(text_view(v, storage));
  return n ? make_integer(*n) : kNil;
}

Value p_string_to_real(Value v) {
  std::string storage;
  auto n = parse_number_text(text_view(v, storage), g_decimal_mark);
  if (!n) return kNil;
  return n->is_integer ? make_integer(n->integer) : make_real(n->real);
}

}  // namespace

void register_strings() {
  defprim("string", p_string);
  defprim("symbol->string", p_string);
  defprim("copy-string", p_copy_string);
  defprim("string?", p_string_p);
  defprim("empty-string?", p_empty_string_p);
  defprim("upper-string", p_upper_string);
  defprim("lower-string", p_lower_string);
  defprim("string-append", p_string_append);
  defprim("string-length", p_string_length);
  defprim("string-ref", p_string_ref);
  defprim("string-set!", p_string_set);
  defprim("substring", p_substring);
  defprim("memstring", p_memstring);
  defprim("string=?", p_string_eq);
  defprim("string/=?", p_string_ne);
  defprim("string-nocase=?", p_string_nocase_eq);
  defprim("string<?", p_string_lt);
  defprim("string<=?", p_string_le);
  defprim("string>=?", p_string_ge);
  defprim("string>?", p_string_gt);
  defprim("string->symbol", p_string_to_symbol);
  defprim("make-string", p_make_string);
  defprim("string->int", p_string_to_int);
  defprim("string->real", p_string_to_real);
  register_chars();
  register_string_memory();
}

}  // namespace orvane
