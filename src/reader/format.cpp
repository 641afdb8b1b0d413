#include "reader/format.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "core/memory.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/real_text.h"
#include "reader/destination.h"
#include "reader/format_resources.h"
#include "reader/printer.h"
#include "reader/printer_internal.h"

namespace orvane {

namespace {

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kTab = 9;
constexpr std::size_t kMaxParameters = 7;

[[noreturn]] void bad_format() { raise_error(2, kNil); }

// After a prefix parameter only these may follow.
bool may_follow_parameter(unsigned char c) {
  return c == '#' || c == '%' || c == '*' || c == ',' || c == ':' || c == ';' ||
         (c >= '@' && c <= '[') || c == ']' || (c >= 'a' && c <= 'z');
}

struct Directive {
  std::array<std::optional<std::int32_t>, kMaxParameters> params;
  bool colon = false;
  bool at = false;
  char code = 0;  // 0: the control text ended inside the directive

  std::int32_t n(std::int32_t fallback) const { return params[0].value_or(fallback); }
  std::optional<std::int32_t> d() const { return params[1]; }
  char pad() const { return static_cast<char>(params[3].value_or(' ')); }
};

// What a scan over a conditional's clauses stops at.
enum class Stop { separator, default_separator, close, end };

// One run of `format`: the control text, the arguments and their cursor, and
// whether a conditional is open. Each call has its own, so `format` may run
// again from inside a `print-self` method.
class FormatRun {
 public:
  FormatRun(std::string_view control, const Value* last_first, std::size_t count)
      : control_(control), args_(last_first), count_(count) {}

  void run() {
    while (pos_ < control_.size()) {
      auto c = static_cast<unsigned char>(control_[pos_++]);
      if (c == '~') execute(parse(true));
      else put_char(c);
    }
  }

 private:
  // --- Arguments: the array holds them last first. ---
  Value argument(std::size_t i) const { return args_[count_ - 1 - i]; }
  std::size_t remaining() const { return count_ - cursor_; }
  Value next() {
    if (cursor_ >= count_) bad_format();
    return argument(cursor_++);
  }
  Value peek() const {
    if (cursor_ >= count_) bad_format();
    return argument(cursor_);
  }

  Directive parse(bool executing);
  void execute(const Directive& d);
  Stop scan();
  void open_conditional(const Directive& d);
  void choose_clause(std::int32_t index);
  void skip_to_close();

  void write_padded(const std::string& text, const Directive& d);
  void write_real(const Directive& d);
  void write_plural(const Directive& d);
  void write_resource(const Directive& d);
  void move(const Directive& d);

  std::string_view control_;
  std::size_t pos_ = 0;
  const Value* args_;
  std::size_t count_;
  std::size_t cursor_ = 0;
  bool in_conditional_ = false;
};

// Reads prefix parameters and flags up to the directive character. While
// clauses are skipped (not executing), no argument is consumed and nothing
// is checked.
Directive FormatRun::parse(bool executing) {
  Directive d;
  std::size_t slot = 0;
  while (pos_ < control_.size()) {
    auto c = static_cast<unsigned char>(control_[pos_++]);
    std::int32_t value = 0;
    if (c >= '0' && c <= '9') {
      std::int64_t x = c - '0';
      while (pos_ < control_.size() && control_[pos_] >= '0' && control_[pos_] <= '9')
        x = std::min<std::int64_t>(x * 10 + (control_[pos_++] - '0'), INT32_MAX);
      value = static_cast<std::int32_t>(x);
    } else if (c == '#') {
      value = static_cast<std::int32_t>(remaining());
    } else if (c == '\'') {
      if (pos_ >= control_.size()) break;
      value = static_cast<unsigned char>(control_[pos_++]);
    } else if (c == 'V' || c == 'v') {
      if (executing) value = integer_of(next());
    } else if (c == ':') {
      d.colon = true;
      continue;
    } else if (c == '@') {
      d.at = true;
      continue;
    } else if (c == ',') {
      if (++slot >= kMaxParameters && executing) bad_format();
      slot = std::min(slot, kMaxParameters - 1);
      continue;
    } else {
      d.code = static_cast<char>(c);
      return d;
    }
    d.params[slot] = value;
    if (executing && pos_ < control_.size()) {
      auto following = static_cast<unsigned char>(control_[pos_]);
      if (!may_follow_parameter(following)) raise_error(2, make_fixnum(following));
    }
  }
  if (executing) bad_format();
  return d;
}

void FormatRun::execute(const Directive& d) {
  switch (d.code) {
    case '%':
      for (std::int32_t i = 0; i < d.n(1); ++i) put_char(kCarriageReturn);
      return;
    case 't':
      for (std::int32_t i = 0; i < d.n(1); ++i) put_char(kTab);
      return;
    case 'c': {
      auto c = static_cast<unsigned char>(integer_of(next()) & 0xff);
      for (std::int32_t i = 0; i < d.n(1); ++i) put_char(c);
      return;
    }
    case '.':
      put_char(static_cast<unsigned char>(g_decimal_mark));
      return;
    case 'a':
      write_padded(print_to_string(next(), PrintStyle::plain, kStringBufferSize), d);
      return;
    case 'x': {
      char text[16];
      std::snprintf(text, sizeof text, "%X", static_cast<std::uint32_t>(integer_of(next())));
      write_padded(text, d);
      return;
    }
    case 'f':
      write_real(d);
      return;
    case 'y':
      print_value(next(), PrintStyle::readable);
      return;
    case 'w':
      print_value(next(), PrintStyle::data);
      return;
    case 'p':
      write_plural(d);
      return;
    case 'i':
      write_resource(d);
      return;
    case '*':
      move(d);
      return;
    case '[':
      open_conditional(d);
      return;
    case ';':
      // The clause that ran ends here; the others are skipped.
      if (!in_conditional_) bad_format();
      skip_to_close();
      return;
    case ']':
      if (!in_conditional_) bad_format();
      in_conditional_ = false;
      return;
    default:
      bad_format();
  }
}

void FormatRun::write_padded(const std::string& text, const Directive& d) {
  std::size_t width = static_cast<std::size_t>(std::max(d.n(0), 0));
  std::size_t fill = width > text.size() ? width - text.size() : 0;
  auto pad = static_cast<unsigned char>(d.pad());
  if (d.at)
    for (std::size_t i = 0; i < fill; ++i) put_char(pad);
  put_text(text);
  if (!d.at)
    for (std::size_t i = 0; i < fill; ++i) put_char(pad);
}

// The width never shows: leading spaces are removed and the text is cut at
// the first space after them.
void FormatRun::write_real(const Directive& d) {
  double x = double_of(next());
  // Bounds keep the text finite; the width is dropped anyway.
  int width = std::clamp(d.params[0].value_or(0), 0, 64);
  int precision = std::clamp(d.d().value_or(6), 0, 100);
  char text[512];
  if (d.params[0] && d.d()) std::snprintf(text, sizeof text, "%*.*f", width, precision, x);
  else if (d.params[0]) std::snprintf(text, sizeof text, "%*g", width, x);
  else if (d.d()) std::snprintf(text, sizeof text, "%.*f", precision, x);
  else std::snprintf(text, sizeof text, "%-27.6g", x);
  std::string_view shown(text);
  shown.remove_prefix(std::min(shown.find_first_not_of(' '), shown.size()));
  put_text(shown.substr(0, shown.find(' ')));
}

// "s" unless the argument is 0 or 1. With ":" the previous argument is used
// again; so is it when none is left ("~a file~p").
void FormatRun::write_plural(const Directive& d) {
  Value v;
  if (d.colon || cursor_ >= count_) {
    if (cursor_ == 0) bad_format();
    v = argument(cursor_ - 1);
  } else {
    v = next();
  }
  if (v != make_fixnum(0) && v != make_fixnum(1)) put_char('s');
}

void FormatRun::write_resource(const Directive& d) {
  std::int32_t id = integer_of(next());
  std::optional<std::string> text;
  if (d.colon) {
    std::int32_t index = integer_of(next());
    if (index > 0) text = string_list_text(id, index);
  } else {
    text = string_resource_text(id);
  }
  if (text) put_text(*text);
}

void FormatRun::move(const Directive& d) {
  std::int64_t target;
  if (d.at) target = d.n(0);
  else if (d.colon) target = static_cast<std::int64_t>(cursor_) - d.n(1);
  else target = static_cast<std::int64_t>(cursor_) + d.n(1);
  if (target < 0 || target > static_cast<std::int64_t>(count_)) bad_format();
  cursor_ = static_cast<std::size_t>(target);
}

// --- Conditionals ---------------------------------------------------------------

// Moves past the next "~;", "~:;" or "~]" of the open conditional.
Stop FormatRun::scan() {
  while (pos_ < control_.size()) {
    if (control_[pos_++] != '~') continue;
    Directive d = parse(false);
    switch (d.code) {
      case ';': return d.colon ? Stop::default_separator : Stop::separator;
      case ']': return Stop::close;
      case '[': bad_format();  // conditionals do not nest
      case 0: return Stop::end;
      default: break;
    }
  }
  return Stop::end;
}

void FormatRun::open_conditional(const Directive& d) {
  if (in_conditional_) bad_format();
  in_conditional_ = true;
  if (d.at) {
    // Runs its clause only for a true argument, which the clause then uses.
    if (peek() == kNil) {
      ++cursor_;
      skip_to_close();
    }
    return;
  }
  if (d.colon) {
    choose_clause(next() == kNil ? 0 : 1);
    return;
  }
  choose_clause(d.params[0] ? *d.params[0] : integer_of(next()));
}

// Skips `index` clauses; the clause after "~:;" is taken when the index runs
// past it.
void FormatRun::choose_clause(std::int32_t index) {
  for (std::int32_t skipped = 0; skipped < index; ++skipped) {
    Stop stop = scan();
    if (stop == Stop::default_separator) return;
    if (stop != Stop::separator) bad_format();
  }
}

void FormatRun::skip_to_close() {
  for (;;) {
    Stop stop = scan();
    if (stop == Stop::close || stop == Stop::end) break;
  }
  in_conditional_ = false;
}

}  // namespace

void run_format(std::string_view control, const Value* last_first, std::size_t count) {
  FormatRun(control, last_first, count).run();
}

// The rest array holds the arguments last first: destination and control
// are its last two entries.
Value format_primitive(RestArgs last_first) {
  std::size_t count = last_first.size();
  if (count < 2) bad_format();
  Value destination = last_first[count - 1];
  std::string control = value_to_text(last_first[count - 2]);
  const Value* arguments = last_first.begin();
  std::size_t argument_count = count - 2;

  if (destination == g_sym.t || is_string(destination)) {
    // Into the string buffer; a string destination is answered as it is and
    // the text goes nowhere.
    std::string text;
    {
      DestinationScope into(text, kStringBufferSize);
      run_format(control, arguments, argument_count);
    }
    flush_terminal();
    return is_string(destination) ? destination : make_string(text);
  }
  DestinationScope scope(destination);
  run_format(control, arguments, argument_count);
  flush_terminal();
  return g_sym.t;
}

void register_format() { defprim("format", format_primitive, arity::reversed); }

}  // namespace orvane
