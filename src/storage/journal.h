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
//   header  "ORVNJRN2", old file length (8), the file's device (8) and
//           inode (8), the journal's own device (8) and inode (8), CRC-32 (4)
//   records "RECD", offset (8), length (4), the old bytes, CRC-32 of the record (4)
//           "SIZE", a length the file is about to be given (8), CRC-32 (4)
// A record that is cut short or whose check fails ends the journal: it was
// being written when the crash came, so the file bytes it covers were never
// touched. Journals of the first layout ("ORVNJRN1": old length, reserved
// word, CRC; "RECD" records only) are still rolled back, by name alone.
//
// Ordering: the journal and its directory entry are flushed before the
// file's first byte or length changes, and a journal record is flushed
// before the change it guards; the file is flushed before the journal goes.
//
// Which file a journal belongs to: the header names the file (device and
// inode) and the journal itself, and the journal's records bound the lengths
// the file may have had. A journal beside a file that is not the one it was
// written for (the file was replaced, or its length cannot have come from
// the change) is never applied: it is set aside as "NAME-journal-stale". A
// journal copied together with its file (its own identity no longer
// matches) is judged by the length alone.
//
// A writer holds an advisory lock on its journal; a journal that another live
// process holds is not rolled back. Two processes writing one file at the
// same time are not supported (nor were they by the original format).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
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

struct JournalOwner {
  platform::FileIdentity file;
  platform::FileIdentity journal;
};

struct ParsedJournal {
  bool has_header = false;  // false: nothing of the file was touched yet
  std::uint64_t original_length = 0;
  std::optional<JournalOwner> owner;  // absent in journals of the first layout
  // The shortest and the longest the file may have been made.
  std::uint64_t least_length = 0;
  std::uint64_t most_length = 0;
  std::vector<JournalRecord> records;  // in the order they were saved
};

ParsedJournal parse_journal(std::span<const std::uint8_t> journal);

// Whether a journal may be applied to a file of that identity and length;
// `journal_now` is the identity of the journal file as it was found.
bool journal_belongs_to(const ParsedJournal& journal, const platform::FileIdentity& file, std::uint64_t file_length,
                        const platform::FileIdentity& journal_now);

// The journal beside the file at path, parsed, when there is one with a
// header that belongs to the file (for tools that read without changing).
std::optional<ParsedJournal> read_journal_for(std::string_view path);

std::string stale_journal_path_for(std::string_view file_path);

// Restores an in-memory copy of the file from a journal (for tools that read
// a file without changing it).
void roll_back_in_memory(std::vector<std::uint8_t>& file, const ParsedJournal& journal);

enum class RecoveryOutcome {
  none,         // no journal
  rolled_back,  // an unfinished change was undone
  discarded,    // a journal that never covered a write was removed
  stale,        // a journal that belongs to another file was set aside, unapplied
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
  // Records that the file is about to get this length.
  int note_length(std::uint64_t length);
  // Flushes what the journal gained (and, the first time, its directory
  // entry) before the file changes.
  int make_journal_durable();
  void end_change();

  platform::File file_;
  platform::File journal_;
  std::string journal_path_;
  std::uint64_t original_length_ = 0;
  std::uint64_t least_length_ = 0;
  std::uint64_t most_length_ = 0;
  std::uint64_t journal_end_ = 0;
  std::uint64_t durable_end_ = 0;  // how much of the journal is flushed
  bool entry_durable_ = false;
  std::map<std::uint64_t, std::uint64_t> saved_;  // start -> end of saved ranges
};

}  // namespace orvane
