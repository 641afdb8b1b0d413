// `copy-file`: the bytes of one file into another, chunk by chunk, with a
// progress function called after each chunk; then the type, creator and
// times. A copy that does not finish leaves no destination behind.
#include <new>
#include <vector>

#include "core/primitives.h"
#include "eval/eval.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

constexpr std::size_t kLargestBuffer = 512 * 1024;
constexpr int kNoMemory = 9;

// The transfer buffer: 512 KB, halved while the allocation fails.
std::vector<std::uint8_t> transfer_buffer() {
  for (std::size_t size = kLargestBuffer; size >= 2; size /= 2) {
    try {
      return std::vector<std::uint8_t>(size);
    } catch (const std::bad_alloc&) {
    }
  }
  raise_error(kNoMemory, kNil);
}

// Removes the destination made by an unfinished copy. Declared before the
// files, so that they are closed when it acts.
class UnfinishedCopy {
 public:
  UnfinishedCopy() = default;
  ~UnfinishedCopy() {
    if (!path_.empty()) platform::remove_file(path_);
  }
  UnfinishedCopy(const UnfinishedCopy&) = delete;
  UnfinishedCopy& operator=(const UnfinishedCopy&) = delete;
  void made(std::string path) { path_ = std::move(path); }
  void finish() { path_.clear(); }

 private:
  std::string path_;
};

Value p_copy_file(Value source, Value destination, Value progress) {
  std::string from = host_path_of(source);
  std::string to = host_path_of(destination);
  // Creating the destination would empty the source first.
  if (from == to) return g_sym.t;
  UnfinishedCopy guard;
  platform::File in = open_or_raise(from, 0, false, source);
  platform::File out = open_or_raise(to, 2, true, destination);
  guard.made(to);
  std::vector<std::uint8_t> buffer = transfer_buffer();
  std::uint64_t position = 0;
  for (;;) {
    std::size_t got = 0;
    if (int err = in.read_at(position, buffer, got)) raise_system_file_error(err, source);
    if (got == 0) break;
    if (int err = out.write_at(position, {buffer.data(), got})) raise_system_file_error(err, destination);
    position += got;
    if (!is_false(progress)) call(progress, {make_integer(static_cast<std::int64_t>(got))});
  }
  in.close();
  if (int err = out.sync()) raise_system_file_error(err, destination);
  out.close();
  guard.finish();
  copy_file_info(source, destination);
  return g_sym.t;
}

}  // namespace

void register_file_copy() { defprim("copy-file", p_copy_file); }

}  // namespace orvane
