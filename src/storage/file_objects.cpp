#include "storage/file_objects.h"

#include "core/memory.h"
#include "eval/errors.h"
#include "storage/file_errors.h"

namespace orvane {

namespace {
constexpr std::size_t kBufferSize = 4096;
}  // namespace

LispFile::~LispFile() { flush(); }

int LispFile::flush() {
  if (gathered_.empty()) return 0;
  std::uint64_t at = position_ - gathered_.size();
  int err = file_.write_at(at, gathered_);
  gathered_.clear();
  return err;
}

int LispFile::flush_to_disk() {
  int err = flush();
  if (!file_.writable()) return err;
  int synced = file_.sync();
  return err ? err : synced;
}

int LispFile::seek(std::uint64_t position) {
  int err = flush();
  drop_read_ahead();
  position_ = position;
  return err;
}

int LispFile::read(std::span<std::uint8_t> out, std::size_t& count) {
  count = 0;
  if (int err = flush()) return err;
  drop_read_ahead();
  int err = file_.read_at(position_, out, count);
  position_ += count;
  return err;
}

int LispFile::write(std::span<const std::uint8_t> in) {
  if (int err = flush()) return err;
  drop_read_ahead();
  int err = file_.write_at(position_, in);
  if (err == 0) position_ += in.size();
  return err;
}

int LispFile::get_byte(int& error) {
  error = 0;
  if (!gathered_.empty()) {
    if ((error = flush()) != 0) return -1;
  }
  if (ahead_used_ >= ahead_.size()) {
    ahead_.resize(kBufferSize);
    std::size_t count = 0;
    error = file_.read_at(position_, ahead_, count);
    ahead_.resize(count);
    ahead_used_ = 0;
    if (error != 0 || count == 0) return -1;
  }
  ++position_;
  return ahead_[ahead_used_++];
}

int LispFile::put_byte(std::uint8_t byte) {
  if (!file_.writable()) return platform::sys_error::permission;
  drop_read_ahead();
  int err = 0;
  if (gathered_.size() >= kBufferSize) err = flush();
  gathered_.push_back(byte);
  ++position_;
  return err;
}

int LispFile::size(std::uint64_t& out) {
  if (int err = flush()) return err;
  return file_.size(out);
}

int LispFile::truncate(std::uint64_t length) {
  if (int err = flush()) return err;
  drop_read_ahead();
  return file_.truncate(length);
}

int LispFile::close() {
  int err = flush();
  drop_read_ahead();
  file_.close();
  return err;
}

// --- File Values ----------------------------------------------------------------

// Open files are native objects: their pointer holds a generation-checked
// native-object id, not a reference number (docs/files.md, "Ids of open
// things").
Value make_file_value(platform::File file) {
  return make_native_pointer(std::make_unique<LispFile>(std::move(file)), PointerKind::file);
}

LispFile& file_of(Value file) { return native_as<LispFile>(file, PointerKind::file); }

bool is_file_value(Value v) { return is_pointer(v) && pointer_kind(v) == PointerKind::file; }

void close_file_value(Value file) {
  int err = file_of(file).close();
  g_native_objects.release(pointer_address(file));
  node_of(file).w1 = 0;
  if (err) raise_system_file_error(err, file);
}

int file_getc(Value file) {
  int error = 0;
  int c = file_of(file).get_byte(error);
  if (error) raise_system_file_error(error, file);
  return c;
}

void file_putc(int c, Value file) {
  if (int err = file_of(file).put_byte(static_cast<std::uint8_t>(c))) raise_system_file_error(err, file);
}

}  // namespace orvane
