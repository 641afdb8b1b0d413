// The primitives on open files: opening, closing, positions, block and
// byte transfers, lengths; and the toolbox file calls this platform lacks.
#include "core/blocks.h"
#include "core/primitives.h"
#include "lib/streams.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/file_objects.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

constexpr int kNotAvailable = 47;

platform::OpenMode open_mode_of(int mode) {
  switch (mode) {
    case 0: return platform::OpenMode::read_only;
    case 1: return platform::OpenMode::read_write_or_read_only;
    default: return platform::OpenMode::read_write;
  }
}

Value p_file_open(Value path, Value mode) {
  std::int32_t m = integer_argument(mode);
  if (m < 0 || m > 2) raise_error(2, mode);
  std::string host = host_path_of(path);
  return make_file_value(open_or_raise(host, m, false, path));
}

Value p_file_exists_p(Value path) {
  std::string host;
  if (try_host_path_of(path, host)) return kNil;
  return boolean_value(platform::file_exists(host));
}

Value p_file_close(Value file) {
  close_file_value(file);
  return kNoValue;
}

Value p_file_get_pos(Value file) { return make_integer(static_cast<std::int64_t>(file_of(file).position())); }

Value p_file_set_pos(Value file, Value position) {
  std::uint32_t at = count_argument(position);
  if (int err = file_of(file).seek(at)) raise_system_file_error(err, file);
  return kNoValue;
}

Value p_file_read_block(Value file, Value pointer, Value count) {
  LispFile& f = file_of(file);
  std::uint32_t n = count_argument(count);
  std::uint8_t* bytes = checked_bytes(address_of(pointer), n, Access::write, pointer);
  std::size_t got = 0;
  if (int err = f.read({bytes, n}, got)) raise_system_file_error(err, file);
  return make_integer(static_cast<std::int64_t>(got));
}

Value p_file_write_block(Value file, Value pointer, Value count) {
  LispFile& f = file_of(file);
  std::uint32_t n = count_argument(count);
  const std::uint8_t* bytes = checked_bytes(address_of(pointer), n, Access::read, pointer);
  if (int err = f.write({bytes, n})) raise_system_file_error(err, file);
  return kNoValue;
}

Value p_file_eof_p(Value file) {
  LispFile& f = file_of(file);
  std::uint64_t size = 0;
  if (int err = f.size(size)) raise_system_file_error(err, file);
  return boolean_value(f.position() >= size);
}

Value p_file_read_ch(Value file) { return make_fixnum(file_getc(file)); }

Value p_file_write_ch(Value c, Value file) {
  file_putc(integer_argument(c) & 0xff, file);
  return kNoValue;
}

Value p_file_length(Value file_or_path) {
  std::uint64_t size = 0;
  if (is_file_value(file_or_path)) {
    if (int err = file_of(file_or_path).size(size)) raise_system_file_error(err, file_or_path);
  } else {
    platform::File f = open_or_raise(host_path_of(file_or_path), 0, false, file_or_path);
    if (int err = f.size(size)) raise_system_file_error(err, file_or_path);
  }
  return make_integer(static_cast<std::int64_t>(size));
}

// A path is opened for writing here: opened read-only, as the original
// did, setting the length could never succeed.
Value p_file_set_length(Value file_or_path, Value length) {
  std::uint32_t n = count_argument(length);
  if (is_file_value(file_or_path)) {
    if (int err = file_of(file_or_path).truncate(n)) raise_system_file_error(err, file_or_path);
    return g_sym.t;
  }
  std::string host;
  platform::File f;
  if (try_host_path_of(file_or_path, host) || platform::File::open(host, platform::OpenMode::read_write, f))
    return kNil;
  return boolean_value(f.truncate(n) == 0);
}

Value p_file_read_only_p(Value file) { return boolean_value(!file_of(file).writable()); }

// Writes out what a file stream gathered; other streams hold nothing back.
Value p_flush_stream(Value stream) {
  Value state = is_pair(stream) ? cdr(stream) : stream;
  if (is_file_value(state) && g_native_objects.find(pointer_address(state)))
    if (int err = file_of(state).flush()) raise_system_file_error(err, state);
  return kNoValue;
}

// Flushes the volume: what every open file gathered is written out and
// everything written to files open for writing is made durable (resource
// files and databases are durable at each of their commits already). The
// volume argument is ignored: 0, or the input-output error -36 when a file
// could not be flushed.
Value p_flushvol(Value) {
  constexpr int kIoError = -36;
  bool failed = false;
  g_native_objects.for_each([&](NativeObject& object) {
    if (auto* file = dynamic_cast<LispFile*>(&object)) failed |= file->flush_to_disk() != 0;
  });
  return make_fixnum(failed ? kIoError : 0);
}

Value p_not_available(RestArgs) { raise_error(kNotAvailable, kNil); }
Value p_online() { raise_error(kNotAvailable, kNil); }

}  // namespace

platform::File open_or_raise(const std::string& host_path, int mode, bool create, Value culprit) {
  platform::File f;
  int err = create ? platform::File::create(host_path, platform::CreateMode::replace, f)
                   : platform::File::open(host_path, open_mode_of(mode), f);
  if (err) raise_system_file_error(err, culprit);
  return f;
}

void register_file_primitives() {
  defprim("file-open", p_file_open);
  defprim("file-exists?", p_file_exists_p);
  defprim("file-close", p_file_close);
  defprim("file-get-pos", p_file_get_pos);
  defprim("file-set-pos", p_file_set_pos);
  defprim("file-read-block", p_file_read_block);
  defprim("file-write-block", p_file_write_block);
  defprim("file-eof?", p_file_eof_p);
  defprim("file-read-ch", p_file_read_ch);
  defprim("file-write-ch", p_file_write_ch);
  add_port_routines(reinterpret_cast<ErasedFn>(p_file_read_ch), file_getc, nullptr);
  add_port_routines(reinterpret_cast<ErasedFn>(p_file_write_ch), nullptr, file_putc);
  defprim("file-length", p_file_length);
  defprim("file-set-length", p_file_set_length);
  defprim("file-read-only?", p_file_read_only_p);
  defprim("flush-stream", p_flush_stream);
  defprim("flushvol", p_flushvol);
  for (const char* name : {"get-drive-name", "open-rf", "fsread", "fswrite", "getfpos", "setfpos", "seteof", "fsclose"})
    defprim(name, p_not_available);
  defprim("online", p_online);
}

}  // namespace orvane
