// The printer's interface to the rest of the run-time: Values to characters
// in one of three styles, to the current destination or to a native string.
#pragma once

#include <cstddef>
#include <string>

#include "core/value.h"
#include "reader/destination.h"

namespace orvane {

enum class PrintStyle : std::uint8_t {
  plain,     // messages: strings and symbols as they are (`princ`, `prin`, ~a)
  readable,  // strings quoted and escaped, symbols escaped (`display`, ~y)
  data,      // as readable, and only what the reader reads back (`write`, ~w)
};

// How the characters of strings and symbol names are written in plain style:
// as they are, or escaped as symbol names are (`fprinc`, `fprin`).
enum class EscapeMode : std::uint8_t { plain, string, symbol };

// Prints v to the current destination. Data style raises error 2 with the
// first Value it meets that the reader could not read back.
void print_value(Value v, PrintStyle style, EscapeMode plain_escape = EscapeMode::plain);
// The printed form of v as a native string, cut at `limit` characters (the
// printer's string buffer by default).
std::string print_to_string(Value v, PrintStyle style = PrintStyle::plain,
                            std::size_t limit = kStringBufferSize);

// The text of any Value as the `string` primitive makes it (strings as they
// are, symbols by name, everything else as the printer shows it in plain
// style, cut at 1024 characters).
std::string value_to_text(Value v);

// The printed form of pointers of one kind, supplied by the module that owns
// such pointers (resources, records, processes ...). The printer handles the
// null pointer itself; without a describer a pointer shows as
// "<kind-name address>", the address of a native object being its id.
using PointerDescriber = std::string (*)(Value pointer);
void set_pointer_describer(PointerKind kind, PointerDescriber describer);
// The name the printer shows for a pointer kind ("handle", "cpp object" ...).
std::string_view pointer_kind_name(PointerKind kind);

// Registers the printing primitives and `format`, and resets the printer.
void register_printer();

}  // namespace orvane
