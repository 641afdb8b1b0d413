// A fixture that puts texts into memory blocks bound to Lisp globals and
// reads them back.
#pragma once

#include <string>
#include <string_view>

#include "core/blocks.h"
#include "core/symbols.h"
#include "lib/lisp_test.h"

namespace orvane::testing {

class CharsetsTest : public LispTest {
 protected:
  // A handle holding the bytes of text (plus `spare` zero bytes), bound to
  // the global `name`.
  HandleId handle_text(std::string_view name, std::string_view text, std::uint32_t spare = 0) {
    std::string bytes(text);
    bytes.append(spare, '\0');
    HandleId h = new_handle_with({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    set_symbol_global(sym(name), make_handle_value(h));
    return h;
  }
  // A pointer block holding the bytes of text, bound to the global `name`.
  WorldAddress pointer_text(std::string_view name, std::string_view text) {
    WorldAddress p = new_pointer_or_fail(static_cast<std::uint32_t>(text.size()));
    std::uint8_t* bytes = checked_bytes(p, static_cast<std::uint32_t>(text.size()), Access::write, kNil);
    std::copy(text.begin(), text.end(), bytes);
    set_symbol_global(sym(name), make_pointer(p, PointerKind::pointer));
    return p;
  }
  static std::string handle_string(HandleId h) {
    auto bytes = handle_bytes(h);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  static std::string pointer_string(WorldAddress p, std::uint32_t n) {
    const std::uint8_t* bytes = checked_bytes(p, n, Access::read, kNil);
    return std::string(reinterpret_cast<const char*>(bytes), n);
  }
  void bind_string(std::string_view name, std::string_view text) {
    set_symbol_global(sym(name), make_string(text));
  }
  std::string string_of(std::string_view form) {
    Value v = eval_text(form);
    EXPECT_TRUE(is_string(v)) << form;
    return is_string(v) ? std::string(string_view_of(v)) : std::string();
  }
};

}  // namespace orvane::testing
