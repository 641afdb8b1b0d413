// The date and time primitives.
#include "lib/dates.h"

#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "platform/clock.h"

namespace orvane {

namespace {

Value boolean(bool b) { return b ? g_sym.t : kNil; }

std::int32_t time_arg(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  return integer_unchecked(v);
}

// A date list that may stop after any element; each element is read as a
// 16-bit quantity.
DateFields date_arg(Value list) {
  if (!is_list(list)) raise_error(2, list);
  int fields[6] = {0, 1, 1, 0, 0, 0};
  Value rest = list;
  for (int& field : fields) {
    if (!is_pair(rest)) break;
    field = static_cast<std::int16_t>(integer_of(car(rest)));
    rest = cdr(rest);
  }
  return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

// Calendar tables have twelve months: anything else is refused.
DateFields calendar_date_arg(Value list) {
  DateFields d = date_arg(list);
  if (d.month < 1 || d.month > 12) raise_error(2, list);
  return d;
}

Value date_list(const DateFields& d) {
  return list_of({make_fixnum(d.year), make_fixnum(d.month), make_fixnum(d.day), make_fixnum(d.hour),
                  make_fixnum(d.minute), make_fixnum(d.second)});
}

Value local_date_list(std::int64_t unix_seconds, Value culprit) {
  auto t = platform::local_time(unix_seconds);
  if (!t) raise_error(2, culprit);
  return date_list({t->year, t->month, t->day, t->hour, t->minute, t->second});
}

// A flag is set when it is an integer whose low 8 bits are not all zero,
// or any other true Value.
bool flag_arg(Value v) {
  if (is_integer(v)) return (integer_unchecked(v) & 0xff) != 0;
  return is_true(v);
}

Value p_get_time() { return make_integer(time_from_unix(platform::clock().unix_time())); }

Value p_get_date() {
  std::int64_t now = platform::clock().unix_time();
  return local_date_list(now, make_integer(time_from_unix(now)));
}

Value p_date_to_time(Value list) {
  DateFields d = date_arg(list);
  auto unix_seconds = platform::from_local_time({d.year, d.month, d.day, d.hour, d.minute, d.second, 0});
  if (!unix_seconds) raise_error(2, list);
  return make_integer(time_from_unix(*unix_seconds));
}

Value p_time_to_date(Value time) { return local_date_list(unix_from_time(time_arg(time)), time); }

Value p_leap_year_p(Value year) { return boolean(leap_year(integer_of(year))); }

Value p_week_day(Value list) { return make_fixnum(week_day(calendar_date_arg(list))); }

Value p_end_of_month(Value list) {
  DateFields d = calendar_date_arg(list);
  d.day = days_in_month(d.year, d.month);
  return date_list(d);
}

Value p_milliseconds() {
  return make_integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(platform::clock().milliseconds())));
}

// Ticks are sixtieths of a second: milliseconds x 3 / 50, computed wide so
// that the counter does not jump back after 16 days of host uptime.
Value p_tick_count() {
  std::uint64_t ticks = platform::clock().milliseconds() * 3 / 50;
  return make_integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks)));
}

Value p_sleep(Value ticks) {
  std::int32_t n = integer_of(ticks);
  if (n <= 0) return kNoValue;
  auto t = static_cast<std::uint64_t>(n);
  platform::Clock& clock = platform::clock();
  clock.wait_until(clock.milliseconds() + t * 16 + t * 2 / 3);
  return kNoValue;
}

Value p_iudatestring(Value time, Value long_form) {
  auto text = date_string(time_arg(time), flag_arg(long_form), regional_settings());
  if (!text) raise_error(2, time);
  return make_string(*text);
}

Value p_iutimestring(Value time, Value seconds) {
  auto text = time_string(time_arg(time), flag_arg(seconds), regional_settings());
  if (!text) raise_error(2, time);
  return make_string(*text);
}

}  // namespace

void register_dates() {
  defprim("get-time", p_get_time);
  defprim("get-date", p_get_date);
  defprim("date->time", p_date_to_time);
  defprim("time->date", p_time_to_date);
  defprim("leap-year?", p_leap_year_p);
  defprim("week-day", p_week_day);
  defprim("end-of-month", p_end_of_month);
  defprim("tick-count", p_tick_count);
  defprim("milliseconds", p_milliseconds);
  defprim("sleep", p_sleep);
  defprim("iudatestring", p_iudatestring);
  defprim("iutimestring", p_iutimestring);
}

}  // namespace orvane
