// The printing primitives. Each installs its destination for the time it
// prints, then flushes the terminal.
#include "core/primitives.h"
#include "reader/destination.h"
#include "reader/printer.h"
#include "reader/printer_internal.h"

namespace orvane {

namespace {

constexpr unsigned char kLineEnd = 13;

Value print_to(Value destination, Value v, PrintStyle style, EscapeMode escape, bool line_end) {
  DestinationScope scope(destination);
  print_value(v, style, escape);
  if (line_end) put_char(kLineEnd);
  flush_terminal();
  return v;
}

Value p_princ(Value v, Value destination) {
  return print_to(destination, v, PrintStyle::plain, EscapeMode::plain, true);
}
Value p_prin(Value v, Value destination) {
  return print_to(destination, v, PrintStyle::plain, EscapeMode::plain, false);
}
Value p_fprinc(Value destination, Value v) {
  return print_to(destination, v, PrintStyle::plain, EscapeMode::symbol, true);
}
Value p_fprin(Value destination, Value v) {
  return print_to(destination, v, PrintStyle::plain, EscapeMode::symbol, false);
}
Value p_display(Value v, Value destination) {
  return print_to(destination, v, PrintStyle::readable, EscapeMode::plain, true);
}
Value p_displ(Value v, Value destination) {
  return print_to(destination, v, PrintStyle::readable, EscapeMode::plain, false);
}
Value p_write(Value v, Value destination) {
  return print_to(destination, v, PrintStyle::data, EscapeMode::plain, false);
}
Value p_new_line(Value destination) {
  DestinationScope scope(destination);
  put_char(kLineEnd);
  flush_terminal();
  return kNoValue;
}

}  // namespace

void register_printer() {
  reset_destinations();
  reset_print_self_guard();
  defprim("princ", p_princ);
  defprim("prin", p_prin);
  defprim("fprinc", p_fprinc);
  defprim("fprin", p_fprin);
  defprim("display", p_display);
  defprim("displ", p_displ);
  defprim("write", p_write);
  defprim("new-line", p_new_line);
  register_format();
}

}  // namespace orvane
