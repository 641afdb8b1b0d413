// Open files as Lisp sees them: native objects behind pointer Values of
// kind "file", each a host file with its own read/write position.
//
// Bytes written one at a time (`file-write-ch`, the printer) are gathered
// in a small buffer and bytes read one at a time are read ahead; every other
// operation first writes out what was gathered, so the file as other
// operations see it is always what was written.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/native_objects.h"
#include "platform/file_io.h"

namespace orvane {

class LispFile final : public NativeObject {
 public:
  explicit LispFile(platform::File file) : file_(std::move(file)) {}
  // Writes out what was gathered (a failure is lost here: close the file
  // with `file-close` to hear of it).
  ~LispFile() override;

  bool writable() const { return file_.writable(); }
  std::uint64_t position() const { return position_; }
  int seek(std::uint64_t position);
  // Reads up to out.size() bytes at the position; `count` is what was read.
  int read(std::span<std::uint8_t> out, std::size_t& count);
  int write(std::span<const std::uint8_t> in);
  // One byte (0-255), or -1 at the end; `error` gets a failure.
  int get_byte(int& error);
  int put_byte(std::uint8_t byte);
  int size(std::uint64_t& out);
  int truncate(std::uint64_t length);
  // Writes out the gathered bytes.
  int flush();
  // Writes out the gathered bytes and makes everything written durable.
  int flush_to_disk();
  // Writes out the gathered bytes and closes the host file.
  int close();

 private:
  void drop_read_ahead() { ahead_.clear(), ahead_used_ = 0; }

  platform::File file_;
  std::uint64_t position_ = 0;
  std::vector<std::uint8_t> gathered_;  // written at position_ - gathered_.size()
  std::vector<std::uint8_t> ahead_;     // read ahead from position_ - ahead_used_
  std::size_t ahead_used_ = 0;
};

// A new file Value owning the open file.
Value make_file_value(platform::File file);
// The open file behind a file Value; error 2 for any other Value and for a
// closed file.
LispFile& file_of(Value file);
// Whether the Value is a file Value (open or closed).
bool is_file_value(Value v);
// Closes the file and makes the Value wrap nothing; the mapped error of a
// failed write-out is raised with the Value.
void close_file_value(Value file);

// The stream routines of `file-read-ch` and `file-write-ch`: the state is
// the file Value.
int file_getc(Value file);
void file_putc(int c, Value file);

}  // namespace orvane
