// Reading from native code: data from a CharSource or a text.
#include "core/memory.h"
#include "reader/reader_state.h"

namespace orvane {

Value make_logic_variable(Value name) {
  Value cell = cons(make_fixnum(0), name);
  return Value::make(tag::variable, cell.payload());
}

std::optional<Value> DatumReader::next() {
  SourceScope scope;
  scope.install(source_);
  advance();
  for (;;) {
    Token t = read_token();
    if (t.is_datum()) return t.value;
    if (t.is(Marker::end)) return std::nullopt;
    if (!t.is(Marker::nothing)) unexpected_token();
  }
}

Value read_from_text(std::string_view text) {
  TextSource source(text);
  DatumReader reader(source);
  return reader.next().value_or(kNil);
}

Value parse_text(std::string_view text) {
  TextSource source(text);
  SourceScope scope;
  scope.install(source);
  advance();
  return read_list_body(Marker::close_list, true);
}

}  // namespace orvane
