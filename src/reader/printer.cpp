#include "reader/printer.h"

#include <cstdio>
#include <cstring>

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "lib/real_text.h"
#include "objects/object_hooks.h"
#include "reader/char_types.h"
#include "reader/printer_internal.h"

namespace orvane {

namespace {

// Set while an instance's `print-self` answer is being computed: an instance
// printed meanwhile shows as "#<instance>" instead of recursing.
bool g_print_self_guard = false;

class PrintSelfGuard {
 public:
  PrintSelfGuard() { g_print_self_guard = true; }
  ~PrintSelfGuard() { g_print_self_guard = false; }
  PrintSelfGuard(const PrintSelfGuard&) = delete;
  PrintSelfGuard& operator=(const PrintSelfGuard&) = delete;
};

// Symbol names escape every character the reader would not take into a
// symbol as it stands; ":" never needs it.
bool needs_escape(unsigned char c, EscapeMode mode) {
  switch (mode) {
    case EscapeMode::plain:
      return false;
    case EscapeMode::string: {
      auto type = char_type(c);
      return type == chartype::escape || type == chartype::string;
    }
    case EscapeMode::symbol: {
      if (c == ':') return false;
      auto type = char_type(c);
      return type != chartype::dot && type != chartype::symbol && type != chartype::digit &&
             type != chartype::sign;
    }
  }
  return false;
}

void put_escaped(std::string_view text, EscapeMode mode) {
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (needs_escape(c, mode)) put_char('\\');
    put_char(c);
  }
}

std::string hex(std::uint32_t x) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", x);
  return text;
}

// --- Indirect data ----------------------------------------------------------------
// Re-read at every element: printing an element may allocate and move it.

std::uint16_t data_u16(Value v, std::uint32_t offset) {
  std::uint16_t x;
  std::memcpy(&x, indirect_data(v) + offset, sizeof x);
  return x;
}
Value data_value(Value v, std::uint32_t offset) {
  Value x;
  std::memcpy(&x, indirect_data(v) + offset, sizeof x);
  return x;
}

std::int32_t vector_count(Value v) { return static_cast<std::int16_t>(data_u16(v, 0)); }

// The first word of a node Value, or nil when v names no pair-like node.
Value first_of(Value v) { return is_node_traced_tag(v.tag()) && v.payload() != 0 ? car(v) : kNil; }
Value second_of(Value v) { return is_node_traced_tag(v.tag()) && v.payload() != 0 ? cdr(v) : kNil; }

// --- The printer --------------------------------------------------------------------

class Printer {
 public:
  Printer(PrintStyle style, EscapeMode plain_escape)
      : style_(style), escape_(style == PrintStyle::plain ? plain_escape : EscapeMode::plain) {}

  void print(Value v);

 private:
  bool data() const { return style_ == PrintStyle::data; }
  // Only data that the reader reads back is printed in data style.
  void require_readable(Value v) const {
    if (data()) raise_error(2, v);
  }
  void put(std::string_view text) const { put_text(text); }

  void print_string(Value s);
  void print_symbol(Value s);
  void print_variable(Value v);
  void print_list(Value list);
  void print_vector(Value v);
  void print_array(Value a);
  void print_array_group(Value a, std::uint32_t rank, std::uint32_t level, std::uint32_t position,
                         std::uint32_t stride);
  void print_instance(Value v);
  void print_invalid(Value v);
  void print_named(std::string_view prefix, Value name);

  PrintStyle style_;
  EscapeMode escape_;  // for strings and names in plain style
};

void Printer::print(Value v) {
  switch (v.tag()) {
    case tag::address:
      put(std::to_string(v.fixnum()));
      return;
    case tag::integer:
    case tag::long_int:
      put(std::to_string(integer_unchecked(v)));
      return;
    case tag::real:
      put(real_to_text(real_of(v)));
      return;
    case tag::string:
      print_string(v);
      return;
    case tag::symbol:
      print_symbol(v);
      return;
    case tag::variable:
      print_variable(v);
      return;
    case tag::list:
      if (v == kNil) put("()");
      else print_list(v);
      return;
    case tag::no_value:
      require_readable(v);
      put("<no-value>");
      return;
    case tag::vector:
      require_readable(v);
      print_vector(v);
      return;
    case tag::array:
      require_readable(v);
      print_array(v);
      return;
    case tag::instance:
      require_readable(v);
      print_instance(v);
      return;
    case tag::klass:
      require_readable(v);
      put(v == kNoObject ? std::string("#<class ORVANE>") : class_printed_form(v));
      return;
    case tag::primitive: {
      require_readable(v);
      std::uint32_t code = arity_code(v);
      put("#<primitive " + std::to_string(code & arity::count_mask) + ((code & arity::rest) ? " *>" : ">"));
      return;
    }
    case tag::special:
      require_readable(v);
      put("#<special>");
      return;
    case tag::predicate:
      // The name kept in the first clause: (n . ((name . head) . body)).
      require_readable(v);
      print_named("#<predicate ", first_of(first_of(second_of(first_of(v)))));
      return;
    case tag::function:
    case tag::syntax:
      // The head of the defining form: (header . ((head . parameters) . body)).
      require_readable(v);
      print_named("#<function ", first_of(first_of(second_of(v))));
      return;
    case tag::lexical:
      require_readable(v);
      put("#<lexical lambda>");
      return;
    case tag::gamma:
      require_readable(v);
      put("#<function gamma>");
      return;
    case tag::closed:
      require_readable(v);
      put("#<closed gamma>");
      return;
    case tag::closed_syntax:
      require_readable(v);
      put("#<closed syntax>");
      return;
    case tag::hash_table:
      require_readable(v);
      put("<hash-table>");
      return;
    case tag::pointer:
      require_readable(v);
      put(pointer_printed_form(v));
      return;
    default:
      if (is_form_tag(v.tag()) || v.tag() == tag::syntax_gamma) {
        require_readable(v);
        put("#<keyword>");
        return;
      }
      print_invalid(v);
      return;
  }
}

void Printer::print_string(Value s) {
  std::string text(string_view_of(s));
  if (style_ == PrintStyle::plain) {
    put_escaped(text, escape_);
    return;
  }
  put_char('"');
  put_escaped(text, EscapeMode::string);
  put_char('"');
}

void Printer::print_symbol(Value s) {
  std::string name(symbol_name(s));
  put_escaped(name, style_ == PrintStyle::plain ? escape_ : EscapeMode::symbol);
}

void Printer::print_variable(Value v) {
  check_native_stack();
  put_char('_');
  Value name = second_of(v);
  if (style_ == PrintStyle::plain) print(name);
  else Printer(PrintStyle::data, EscapeMode::plain).print(name);
}

void Printer::print_named(std::string_view prefix, Value name) {
  put(prefix);
  print(name);
  put_char('>');
}

// Only the printing of containers recurses, so only they check the native
// stack: the error path can still print a scalar culprit when the stack ran
// out.
void Printer::print_list(Value list) {
  check_native_stack();
  put_char('(');
  Value v = list;
  // A cycle in the tail is found by a second cursor moving at half speed;
  // the list is then cut short rather than printed forever.
  Value slow = list;
  bool odd = false;
  bool first = true;
  while (is_pair(v)) {
    if (!first) put_char(' ');
    first = false;
    print(car(v));
    v = cdr(v);
    if (odd) slow = cdr(slow);
    odd = !odd;
    if (is_pair(v) && v == slow) {
      require_readable(list);
      put(" ...)");
      return;
    }
  }
  if (v != kNil) {
    put(" . ");
    print(v);
  }
  put_char(')');
}

void Printer::print_vector(Value v) {
  check_native_stack();
  put("#(");
  for (std::int32_t i = 0; i < vector_count(v); ++i) {
    if (i > 0) put_char(' ');
    print(data_value(v, 2 + 4 * static_cast<std::uint32_t>(i)));
  }
  put_char(')');
}

// Array data: count, rank, the dimensions, then the elements with the first
// index varying fastest. The groups follow the first index, so element
// (i0, i1, ...) sits at i0 + d0 x (i1 + d1 x ...).
void Printer::print_array(Value a) {
  put("##");
  std::uint32_t rank = data_u16(a, 2);
  if (rank == 0) {
    if (data_u16(a, 0) > 0) print(data_value(a, 4));
    return;
  }
  print_array_group(a, rank, 0, 0, 1);
}

void Printer::print_array_group(Value a, std::uint32_t rank, std::uint32_t level, std::uint32_t position,
                                std::uint32_t stride) {
  check_native_stack();
  std::uint32_t dimension = data_u16(a, 4 + 2 * level);
  put_char('(');
  for (std::uint32_t i = 0; i < dimension; ++i) {
    if (i > 0) put_char(' ');
    std::uint32_t here = position + i * stride;
    if (level + 1 < rank) {
      print_array_group(a, rank, level + 1, here, stride * dimension);
    } else if (here < data_u16(a, 0)) {
      print(data_value(a, 4 + 2 * rank + 4 * here));
    }
  }
  put_char(')');
}

void Printer::print_instance(Value v) {
  if (g_print_self_guard) {
    put("#<instance>");
    return;
  }
  check_native_stack();
  Value answer;
  {
    PrintSelfGuard guard;
    answer = send(v, g_sym.print_self, {});
  }
  if (!is_string(answer)) {
    put("#<instance>");
    return;
  }
  put_escaped(std::string(string_view_of(answer)), escape_);
}

// Words that are no Value: a number in plain style, their bits otherwise.
void Printer::print_invalid(Value v) {
  require_readable(v);
  if (style_ == PrintStyle::plain) put(std::to_string(v.bits));
  else put("<invalid node " + hex(v.bits) + ">");
}

}  // namespace

void print_value(Value v, PrintStyle style, EscapeMode plain_escape) {
  Printer(style, plain_escape).print(v);
}

std::string print_to_string(Value v, PrintStyle style, std::size_t limit) {
  std::string text;
  {
    DestinationScope into(text, limit);
    print_value(v, style);
  }
  return text;
}

std::string value_to_text(Value v) {
  if (is_string(v)) return std::string(string_view_of(v));
  if (is_symbol(v)) return std::string(symbol_name(v));
  return print_to_string(v, PrintStyle::plain, kStringBufferSize);
}

void reset_print_self_guard() { g_print_self_guard = false; }

}  // namespace orvane
