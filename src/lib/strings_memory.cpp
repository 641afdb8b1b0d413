// Copying between strings and native memory: length-prefixed strings, raw
// text and handles. Every address is checked against the live blocks.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/blocks.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "eval/errors.h"
#include "lib/strings.h"

namespace orvane {

namespace {

// The bytes of a string, up to its terminating zero, copied to the host.
std::string string_text(Value v) {
  std::string storage;
  return std::string(text_view(v, storage));
}

Value p_ptr_to_string(Value pointer) {
  WorldAddress at = address_of(pointer);
  std::uint8_t n = *checked_bytes(at, 1, Access::read, pointer);
  const std::uint8_t* bytes = checked_bytes(at + 1, n, Access::read, pointer);
  std::string text(reinterpret_cast<const char*>(bytes), n);
  text.resize(std::strlen(text.c_str()));
  return make_string(text);
}

Value p_text_to_string(Value pointer, Value count) {
  std::int32_t n = integer_of(count);
  if (n < 0 || n > static_cast<std::int32_t>(kMaxRequestedString)) raise_error(2, count);
  const std::uint8_t* bytes = checked_bytes(address_of(pointer), static_cast<std::uint32_t>(n), Access::read, pointer);
  std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
  // A zero byte would end the string early; the text stops there.
  text.resize(std::strlen(text.c_str()));
  return make_string(text);
}

Value p_put_string(Value string, Value pointer) {
  std::string text = string_text(string);
  if (text.size() > 255) text.resize(255);
  auto n = static_cast<std::uint32_t>(text.size());
  std::uint8_t* out = checked_bytes(address_of(pointer), n + 1, Access::write, pointer);
  out[0] = static_cast<std::uint8_t>(n);
  std::memcpy(out + 1, text.data(), n);
  return kNoValue;
}

Value p_put_string_text(Value string, Value pointer) {
  std::string text = string_text(string);
  auto n = static_cast<std::uint32_t>(text.size());
  std::uint8_t* out = checked_bytes(address_of(pointer), n, Access::write, pointer);
  std::memcpy(out, text.data(), n);
  return kNoValue;
}

Value p_string_to_handle(Value string) {
  std::string text = string_text(string);
  HandleId h = new_handle_with({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  return make_handle_value(h);
}

Value p_handle_to_string(Value handle) {
  auto bytes = handle_bytes(handle_of(handle));
  if (bytes.size() > kMaxStringBytes) raise_error(2, handle);
  std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  text.resize(std::strlen(text.c_str()));
  return make_string(text);
}

}  // namespace

void register_string_memory() {
  defprim("ptr->string", p_ptr_to_string, arity::system);
  defprim("text->string", p_text_to_string, arity::system);
  defprim("put-string", p_put_string, arity::system);
  defprim("put-string-text", p_put_string_text, arity::system);
  defprim("string->handle", p_string_to_handle, arity::system);
  defprim("handle->string", p_handle_to_string, arity::system);
}

}  // namespace orvane
