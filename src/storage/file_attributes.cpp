// The primitives on file attributes: type and creator, creation and
// modification times, visibility, and the 40-byte file-information blocks.
#include <algorithm>
#include <array>
#include <limits>

#include "core/blocks.h"
#include "core/primitives.h"
#include "lib/dates.h"
#include "platform/clock.h"
#include "platform/host_files.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/file_types.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

// A file-information block: type, creator, then the creation, last-access
// and last-write times as Windows file times (little-endian 64-bit counts
// of 100 ns since 1601).
namespace info_block {
inline constexpr std::uint32_t type = 0, creator = 4, creation = 8, last_access = 16, last_write = 24, size = 40;
}

constexpr std::int64_t kFileTimeAt1970 = 116444736000000000;  // 100-ns units from 1601 to 1970
constexpr std::int64_t kNanosPerFileTimeUnit = 100;
constexpr std::int64_t kNanosPerSecond = 1000000000;

std::int64_t file_time_of(std::int64_t unix_nanos) { return unix_nanos / kNanosPerFileTimeUnit + kFileTimeAt1970; }
// Blocks come from Lisp, so any 64 bits may arrive: far times saturate.
std::int64_t unix_nanos_of(std::uint64_t file_time) {
  constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
  std::int64_t units = file_time > static_cast<std::uint64_t>(kLargest) ? kLargest : static_cast<std::int64_t>(file_time);
  std::int64_t since_1970 = units - kFileTimeAt1970;
  constexpr std::int64_t kLimit = kLargest / kNanosPerFileTimeUnit;
  return std::clamp(since_1970, -kLimit, kLimit) * kNanosPerFileTimeUnit;
}

void put_u64(std::uint8_t* p, std::uint64_t x) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(x >> (8 * i));
}
std::uint64_t get_u64(const std::uint8_t* p) {
  std::uint64_t x = 0;
  for (int i = 0; i < 8; ++i) x |= std::uint64_t{p[i]} << (8 * i);
  return x;
}

// The seconds of the run-time's time scale for a host time.
Value time_value(std::int64_t unix_nanos) {
  std::int64_t seconds = unix_nanos / kNanosPerSecond - (unix_nanos % kNanosPerSecond < 0 ? 1 : 0);
  return make_integer(time_from_unix(seconds));
}

// A DOS date and time (date in the high 16 bits: year since 1980, month,
// day; time in the low 16 bits: hours, minutes, seconds / 2) in local time,
// as nanoseconds since 1970; nothing for an impossible date.
std::optional<std::int64_t> unix_nanos_of_dos(std::uint32_t dos) {
  std::uint32_t date = dos >> 16, time = dos & 0xffff;
  platform::LocalTime t;
  t.year = static_cast<int>(date >> 9) + 1980;
  t.month = static_cast<int>((date >> 5) & 0x0f);
  t.day = static_cast<int>(date & 0x1f);
  t.hour = static_cast<int>(time >> 11);
  t.minute = static_cast<int>((time >> 5) & 0x3f);
  t.second = static_cast<int>(time & 0x1f) * 2;
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour > 23 || t.minute > 59 || t.second > 59)
    return std::nullopt;
  std::optional<std::int64_t> seconds = platform::from_local_time(t);
  if (!seconds) return std::nullopt;
  return *seconds * kNanosPerSecond;
}

// The type and creator of a file; "The file %s could not be open" when it
// cannot be read.
TypeAndCreator codes_of(Value path) {
  std::string os_path = os_path_of(path);
  std::string host = host_path_of(path);
  TypeAndCreator codes;
  if (read_type_and_creator(host, os_path, codes)) report("The file %s could not be open", os_path.c_str());
  return codes;
}

Value p_file_get_type(Value path) { return code_value(codes_of(path).type); }
Value p_file_get_creator(Value path) { return code_value(codes_of(path).creator); }

Value set_codes(Value path, std::optional<FourCC> type, std::optional<FourCC> creator) {
  std::string host;
  if (try_host_path_of(path, host) == 0) write_type_and_creator(host, type, creator);
  return g_sym.t;
}

Value p_file_set_type(Value path, Value type) { return set_codes(path, code_argument(type), std::nullopt); }
Value p_file_set_creator(Value path, Value creator) { return set_codes(path, std::nullopt, code_argument(creator)); }

// --- Times -----------------------------------------------------------------------

Value file_time(Value path, std::int64_t platform::FileTimes::*which) {
  std::string host;
  platform::FileTimes times;
  if (try_host_path_of(path, host) || !platform::file_exists(host) || platform::get_file_times(host, times))
    return kNil;
  return time_value(times.*which);
}

Value p_file_creation_time(Value path) { return file_time(path, &platform::FileTimes::creation); }
Value p_file_modification_time(Value path) { return file_time(path, &platform::FileTimes::last_write); }

Value set_file_time(Value path, Value dos_time, std::int64_t platform::FileTimes::*which) {
  auto nanos = unix_nanos_of_dos(static_cast<std::uint32_t>(integer_argument(dos_time)));
  std::string host;
  platform::File writable;
  platform::FileTimes times;
  if (!nanos || try_host_path_of(path, host) || platform::File::open(host, platform::OpenMode::read_write, writable) ||
      platform::get_file_times(host, times))
    return kNil;
  times.*which = *nanos;
  return boolean_value(platform::set_file_times(host, times) == 0);
}

Value p_file_set_creation_time(Value path, Value dos_time) {
  return set_file_time(path, dos_time, &platform::FileTimes::creation);
}
Value p_file_set_modification_time(Value path, Value dos_time) {
  return set_file_time(path, dos_time, &platform::FileTimes::last_write);
}

// --- Visibility ---------------------------------------------------------------------

Value p_file_get_visible_p(Value path) { return boolean_value(!platform::is_hidden(host_path_of(path))); }

Value p_file_set_visible_p(Value path, Value visible) {
  return boolean_value(platform::set_hidden(host_path_of(path), is_false(visible)) == 0);
}

// --- Finder and file information ------------------------------------------------------

Value p_get_finder_info(Value path, Value pointer) {
  TypeAndCreator codes = codes_of(path);
  std::uint8_t* out = checked_bytes(address_of(pointer), 8, Access::write, pointer);
  std::copy(codes.type.chars.begin(), codes.type.chars.end(), out);
  std::copy(codes.creator.chars.begin(), codes.creator.chars.end(), out + 4);
  return g_sym.t;
}

Value p_set_finder_info(Value path, Value pointer) {
  const std::uint8_t* in = checked_bytes(address_of(pointer), 8, Access::read, pointer);
  FourCC type = FourCC::from_bytes(in), creator = FourCC::from_bytes(in + 4);
  return set_codes(path, type, creator);
}

Value p_get_file_info(Value path) {
  TypeAndCreator codes = codes_of(path);
  std::string host = host_path_of(path);
  platform::FileTimes times;
  if (int err = platform::get_file_times(host, times)) raise_system_file_error(err, path);
  WorldAddress block = new_pointer_or_fail(info_block::size);
  Value info = make_pointer(block, PointerKind::memory_pointer);
  std::uint8_t* p = checked_bytes(block, info_block::size, Access::write, info);
  std::copy(codes.type.chars.begin(), codes.type.chars.end(), p + info_block::type);
  std::copy(codes.creator.chars.begin(), codes.creator.chars.end(), p + info_block::creator);
  put_u64(p + info_block::creation, static_cast<std::uint64_t>(file_time_of(times.creation)));
  put_u64(p + info_block::last_access, static_cast<std::uint64_t>(file_time_of(times.last_access)));
  put_u64(p + info_block::last_write, static_cast<std::uint64_t>(file_time_of(times.last_write)));
  return info;
}

Value p_set_file_info(Value path, Value info) {
  const std::uint8_t* p = checked_bytes(address_of(info), info_block::size, Access::read, info);
  FourCC type = FourCC::from_bytes(p + info_block::type), creator = FourCC::from_bytes(p + info_block::creator);
  platform::FileTimes times;
  times.creation = unix_nanos_of(get_u64(p + info_block::creation));
  times.last_access = unix_nanos_of(get_u64(p + info_block::last_access));
  times.last_write = unix_nanos_of(get_u64(p + info_block::last_write));
  std::string host;
  if (try_host_path_of(path, host) || write_type_and_creator(host, type, creator)) return kNil;
  return boolean_value(platform::set_file_times(host, times) == 0);
}

Value p_dispose_file_info(Value info) {
  dispose_pointer(address_of(info));
  node_of(info).w1 = 0;
  return kNoValue;
}

}  // namespace

bool copy_file_info(Value source, Value destination) {
  std::string from, to;
  if (try_host_path_of(source, from) || try_host_path_of(destination, to)) return false;
  TypeAndCreator codes;
  platform::FileTimes times;
  if (read_type_and_creator(from, os_path_of(source), codes) || platform::get_file_times(from, times)) return false;
  if (write_type_and_creator(to, codes.type, codes.creator)) return false;
  return platform::set_file_times(to, times) == 0;
}

namespace {
Value p_copy_file_info(Value source, Value destination) { return boolean_value(copy_file_info(source, destination)); }
}  // namespace

void register_file_attributes() {
  defprim("file-get-type", p_file_get_type);
  defprim("file-get-creator", p_file_get_creator);
  defprim("file-set-type", p_file_set_type);
  defprim("file-set-creator", p_file_set_creator);
  defprim("file-creation-time", p_file_creation_time);
  defprim("file-modification-time", p_file_modification_time);
  defprim("file-set-creation-time", p_file_set_creation_time);
  defprim("file-set-modification-time", p_file_set_modification_time);
  defprim("file-get-visible?", p_file_get_visible_p);
  defprim("file-set-visible?", p_file_set_visible_p);
  defprim("get-finder-info", p_get_finder_info);
  defprim("set-finder-info", p_set_finder_info);
  defprim("get-file-info", p_get_file_info);
  defprim("set-file-info", p_set_file_info);
  defprim("dispose-file-info", p_dispose_file_info);
  defprim("copy-file-info", p_copy_file_info);
}

}  // namespace orvane
