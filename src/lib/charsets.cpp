// The conversion primitives. Block texts are converted in place; every
// address is checked against the live blocks before a byte is touched.
#include "lib/charsets.h"

#include <algorithm>
#include <string>

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/charsets_blocks.h"
#include "lib/charsets_convert.h"
#include "lib/strings.h"
#include "lib/symbolic_search.h"
#include "reader/printer.h"

namespace orvane {

namespace {

using charsets::count_argument;
using charsets::text_bytes;

Value one_element_list(std::uint8_t code) { return cons(make_fixnum(code), kNil); }

Value p_mac_to_ibm(Value pointer, Value capacity, Value length, Value keep) {
  std::uint32_t room = count_argument(capacity);
  std::uint32_t n = count_argument(length);
  auto outcome = charsets::mac_text_to_windows(charsets::copy_text(pointer, n), room, is_true(keep));
  if (std::holds_alternative<charsets::AlreadyWindowsText>(outcome)) return length;
  if (std::holds_alternative<charsets::NoRoom>(outcome)) return kNil;
  if (auto* missing = std::get_if<charsets::NoCounterpart>(&outcome)) return one_element_list(missing->code);
  const auto& converted = std::get<std::vector<std::uint8_t>>(outcome);
  auto new_length = static_cast<std::uint32_t>(converted.size());
  std::uint8_t* out = text_bytes(pointer, new_length, Access::write);
  std::copy(converted.begin(), converted.end(), out);
  return make_integer(new_length);
}

Value p_mac_to_ibm_ptr(Value pointer, Value length, Value keep) {
  std::uint32_t n = count_argument(length);
  std::uint8_t* bytes = text_bytes(pointer, n, Access::write);
  auto missing = charsets::convert_in_place({bytes, n}, charsets::mac_to_windows_table(), is_true(keep));
  return missing ? make_fixnum(*missing) : kNil;
}

Value p_iso_to_mac(Value pointer, Value /*ignored*/, Value length, Value keep) {
  std::uint32_t n = count_argument(length);
  std::uint8_t* bytes = text_bytes(pointer, n, Access::write);
  auto missing = charsets::convert_in_place({bytes, n}, charsets::iso_to_mac_table(), is_true(keep));
  return missing ? one_element_list(*missing) : length;
}

Value p_ibm_to_mac(Value pointer, Value /*ignored*/, Value length) {
  std::uint32_t n = count_argument(length);
  std::vector<std::uint8_t> converted = charsets::windows_text_to_mac(charsets::copy_text(pointer, n));
  std::uint8_t* out = text_bytes(pointer, static_cast<std::uint32_t>(converted.size()), Access::write);
  std::copy(converted.begin(), converted.end(), out);
  return make_integer(static_cast<std::int64_t>(converted.size()));
}

// The text of a Value as plain printing shows it. Strings and symbols are
// taken whole: the printer's buffer would cut a long text short.
std::string plain_text(Value v) {
  if (is_string(v)) return std::string(string_view_of(v));
  if (is_symbol(v)) return std::string(symbol_name(v));
  return print_to_string(v, PrintStyle::plain);
}

Value convert_string(Value v, const charsets::ByteTable& table) {
  std::string text = plain_text(v);
  auto* bytes = reinterpret_cast<std::uint8_t*>(text.data());
  if (charsets::convert_in_place({bytes, text.size()}, table, false)) return kNil;
  return make_string(text);
}

Value p_mac_to_ibm_string(Value v) { return convert_string(v, charsets::mac_to_windows_table()); }
Value p_ibm_to_mac_string(Value v) { return convert_string(v, charsets::windows_to_mac_table()); }

Value p_buffer_get_string(Value pointer, Value /*ignored*/, Value start, Value end) {
  std::uint32_t from = count_argument(start);
  std::uint32_t to = count_argument(end);
  if (to < from) std::swap(from, to);
  if (to - from > kMaxStringBytes) raise_error(2, end);
  const std::uint8_t* bytes = text_bytes(pointer, to, Access::read);
  std::string text(bytes + from, bytes + to);
  return make_string(text);
}

}  // namespace

void register_charsets() {
  defprim("mac->ibm", p_mac_to_ibm);
  defprim("mac->ibm-ptr", p_mac_to_ibm_ptr);
  defprim("mac->ibm-string", p_mac_to_ibm_string);
  defprim("ibm->mac", p_ibm_to_mac);
  defprim("ibm->mac-string", p_ibm_to_mac_string);
  defprim("iso->mac", p_iso_to_mac);
  defprim("buffer-get-string", p_buffer_get_string);
  register_symbolic_search();
}

}  // namespace orvane
