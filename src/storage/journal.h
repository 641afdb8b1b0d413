// The rollback journal: crash safety for files that are changed in place.
//
// Before a byte of the file is overwritten or cut off, its old contents and
// the file's length at the start of the change go into a journal beside the
// file ("NAME-journal"), flushed to disk; then the file is written. When the
// file is whole again (commit) it is flushed and the journal deleted. A
// journal found when the file is next opened belongs to a change that never
// finished: its bytes are written back and the file cut to its old length,
// so the file is exactly as it was at the last commit.
//
// The journal knows nothing of the file's format; resource files and record
// databases use it alike.
//
// Journal layout (big-endian):
//   header  "ORVNJRN1", old file length (8), reserved (4), CRC-32 of the above (4)
//   records "RECD", offset (8), length (4), the old bytes, CRC-32 of the record (4)
// A record that is cut short or whose check fails ends the journal: it was
// being written when the crash came, so the file bytes it covers were never
// touched.
//
// A writer holds an advisory lock on its journal; a journal that another live
// process holds is not rolled back. Two processes writing one file at the
// same time are not supported (nor were they by the original format).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_io.h"
#include "storage/random_access.h"

namespace orvane {

std::string journal_path_for(std::string_view file_path);

struct JournalRecord {
  std::uint64_t offset = 0;
  std::vector<std::uint8_t> bytes;
};

struct ParsedJournal {
  bool has_header = false;  // false: nothing of the file was touched yet
  std::uint64_t original_length = 0;
  std::vector<JournalRecord> records;  // in the order they were saved
};

ParsedJournal parse_journal(std::span<const std::uint8_t> journal);

// Restores an in-memory copy of the file from a journal (for tools that read
// a file without changing it).
void roll_back_in_memory(std::vector<std::uint8_t>& file, const ParsedJournal& journal);

enum class RecoveryOutcome {
  none,         // no journal
  rolled_back,  // an unfinished change was undone
  discarded,    // a journal that never covered a write was removed
  busy,         // another live process is writing the file
  failed,       // a journal is there but the file could not be restored
};

struct Recovery {
  RecoveryOutcome outcome = RecoveryOutcome::none;
  int error = 0;  // system error number when failed
};

// Rolls back a journal left by a crash beside the file at path.
Recovery recover_file(std::string_view path);

// A host file whose changes are journaled. Opening it first recovers a
// journal left by a crash.
class JournaledFile final : public RandomAccess {
 public:
  static int open(std::string_view path, platform::OpenMode mode, std::unique_ptr<JournaledFile>& out,
                  Recovery* recovery = nullptr);
  ~JournaledFile() override;
  JournaledFile(const JournaledFile&) = delete;
  JournaledFile& operator=(const JournaledFile&) = delete;

  bool writable() const override { return file_.writable(); }
  int size(std::uint64_t& out) const override { return file_.size(out); }
  int read_at(std::uint64_t offset, std::span<std::uint8_t> out, std::size_t& count) const override {
    return file_.read_at(offset, out, count);
  }
  int write(std::span<const PlannedWrite> batch) override;
  int set_length(std::uint64_t length) override;
  int commit() override;

  // Undoes everything written since the last commit.
  int roll_back();
  bool in_change() const { return journal_.is_open(); }
  const std::string& path() const { return file_.path(); }

 private:
  JournaledFile() = default;
  int begin_change();
  // Saves the old contents of [offset, offset + length) that are not saved yet.
  int save_old_bytes(std::uint64_t offset, std::uint64_t length);
  void end_change();

  platform::File file_;
  platform::File journal_;
  std::string journal_path_;
  std::uint64_t original_length_ = 0;
  std::uint64_t journal_end_ = 0;
  std::map<std::uint64_t, std::uint64_t> saved_;  // start -> end of saved ranges
};

}  // namespace orvane
