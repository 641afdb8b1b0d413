#include "storage/journal.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "platform/byte_writer.h"

namespace orvane {

namespace {

namespace se = platform::sys_error;

constexpr std::string_view kMagic = "ORVNJRN2";
constexpr std::string_view kFirstMagic = "ORVNJRN1";  // the first layout, still read
constexpr std::string_view kRecordTag = "RECD";
constexpr std::string_view kSizeTag = "SIZE";
constexpr std::size_t kHeaderSize = 8 + 8 + 4 * 8 + 4;
constexpr std::size_t kFirstHeaderSize = 24;
constexpr std::size_t kRecordOverhead = 4 + 8 + 4 + 4;
constexpr std::size_t kSizeRecordSize = 4 + 8 + 4;
// Old bytes are read and journaled in pieces of at most this size.
constexpr std::uint64_t kPiece = 1u << 20;

std::uint32_t crc_of(std::span<const std::uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes 32-bit lengths; records are far smaller, but stay general.
  while (!bytes.empty()) {
    auto n = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
    crc = crc32(crc, bytes.data(), n);
    bytes = bytes.subspan(n);
  }
  return static_cast<std::uint32_t>(crc);
}

std::vector<std::uint8_t> header_bytes(std::uint64_t original_length, const JournalOwner& owner) {
  ByteWriter w(kHeaderSize);
  w.text(kMagic);
  w.u64be(original_length);
  for (const platform::FileIdentity& id : {owner.file, owner.journal}) {
    w.u64be(id.device);
    w.u64be(id.inode);
  }
  w.u32be(crc_of(w.data()));
  return w.take();
}

std::vector<std::uint8_t> size_record_bytes(std::uint64_t length) {
  ByteWriter w(kSizeRecordSize);
  w.text(kSizeTag);
  w.u64be(length);
  w.u32be(crc_of(w.data()));
  return w.take();
}

bool tag_is(std::span<const std::uint8_t> bytes, std::string_view tag) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()) == tag;
}

std::vector<std::uint8_t> record_bytes(std::uint64_t offset, std::span<const std::uint8_t> old) {
  ByteWriter w(kRecordOverhead + old.size());
  w.text(kRecordTag);
  w.u64be(offset);
  w.u32be(static_cast<std::uint32_t>(old.size()));
  w.bytes(old);
  w.u32be(crc_of(w.data()));
  return w.take();
}

// Writes the journal's old bytes back into the file and cuts it to its old
// length.
int apply_to_file(platform::File& file, const ParsedJournal& journal) {
  // Later records may save bytes that earlier ones saved too (they never do
  // here, but a journal from elsewhere might); the earliest copy is the
  // original, so it is written last.
  for (auto it = journal.records.rbegin(); it != journal.records.rend(); ++it) {
    if (int err = file.write_at(it->offset, it->bytes)) return err;
  }
  if (int err = file.truncate(journal.original_length)) return err;
  return file.sync();
}

int read_journal(platform::File& journal, ParsedJournal& out) {
  std::uint64_t n = 0;
  if (int err = journal.size(n)) return err;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
  if (int err = journal.read_exact(0, bytes)) return err;
  out = parse_journal(bytes);
  return 0;
}

}  // namespace

std::string journal_path_for(std::string_view file_path) {
  return std::string(file_path) + "-journal";
}

ParsedJournal parse_journal(std::span<const std::uint8_t> journal) {
  ParsedJournal out;
  ByteReader r(journal);
  auto magic = r.bytes(kMagic.size());
  bool first_layout = r.ok() && tag_is(magic, kFirstMagic);
  if (!r.ok() || (!first_layout && !tag_is(magic, kMagic))) return out;
  std::uint64_t length = r.u64be();
  JournalOwner owner;
  if (first_layout) {
    r.u32be();
  } else {
    for (platform::FileIdentity* id : {&owner.file, &owner.journal}) {
      id->device = r.u64be();
      id->inode = r.u64be();
    }
  }
  std::size_t header_end = r.position();
  std::uint32_t check = r.u32be();
  if (!r.ok() || header_end != (first_layout ? kFirstHeaderSize : kHeaderSize) - 4 ||
      check != crc_of(journal.first(header_end))) {
    return out;
  }
  out.has_header = true;
  out.original_length = length;
  out.least_length = out.most_length = length;
  if (!first_layout) out.owner = owner;
  while (r.remaining() >= kSizeRecordSize) {
    std::size_t start = r.position();
    auto tag = r.bytes(kRecordTag.size());
    if (!first_layout && tag_is(tag, kSizeTag)) {
      std::uint64_t size = r.u64be();
      std::size_t body_end = r.position();
      if (r.u32be() != crc_of(journal.subspan(start, body_end - start)) || !r.ok()) break;
      out.least_length = std::min(out.least_length, size);
      out.most_length = std::max(out.most_length, size);
      continue;
    }
    std::uint64_t offset = r.u64be();
    std::uint32_t size = r.u32be();
    auto old = r.bytes(size);
    std::size_t body_end = r.position();
    std::uint32_t record_check = r.u32be();
    if (!r.ok() || !tag_is(tag, kRecordTag) || record_check != crc_of(journal.subspan(start, body_end - start)) ||
        offset > length || size > length - offset) {
      break;
    }
    out.records.push_back({offset, std::vector<std::uint8_t>(old.begin(), old.end())});
  }
  return out;
}

bool journal_belongs_to(const ParsedJournal& journal, const platform::FileIdentity& file, std::uint64_t file_length,
                        const platform::FileIdentity& journal_now) {
  if (!journal.has_header || !journal.owner) return journal.has_header;
  // A journal that is still the file it was written as can vouch for the
  // file's identity; a copied one only for the lengths.
  if (journal.owner->journal == journal_now && journal.owner->file != file) return false;
  return file_length >= journal.least_length && file_length <= journal.most_length;
}

std::string stale_journal_path_for(std::string_view file_path) { return journal_path_for(file_path) + "-stale"; }

namespace {

// Whether the journal applies to the file; errors are system error numbers.
int check_owner(const platform::File& journal, const platform::File& file, const ParsedJournal& parsed,
                bool& belongs) {
  platform::FileIdentity file_id, journal_id;
  std::uint64_t length = 0;
  if (int err = file.identity(file_id)) return err;
  if (int err = journal.identity(journal_id)) return err;
  if (int err = file.size(length)) return err;
  belongs = journal_belongs_to(parsed, file_id, length, journal_id);
  return 0;
}

}  // namespace

std::optional<ParsedJournal> read_journal_for(std::string_view path) {
  platform::File journal, file;
  if (platform::File::open(journal_path_for(path), platform::OpenMode::read_only, journal) ||
      platform::File::open(path, platform::OpenMode::read_only, file)) {
    return std::nullopt;
  }
  ParsedJournal parsed;
  bool belongs = false;
  if (read_journal(journal, parsed) || check_owner(journal, file, parsed, belongs) || !belongs) return std::nullopt;
  return parsed;
}

void roll_back_in_memory(std::vector<std::uint8_t>& file, const ParsedJournal& journal) {
  if (!journal.has_header) return;
  for (auto it = journal.records.rbegin(); it != journal.records.rend(); ++it) {
    std::size_t end = static_cast<std::size_t>(it->offset + it->bytes.size());
    if (file.size() < end) file.resize(end);
    std::copy(it->bytes.begin(), it->bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(it->offset));
  }
  file.resize(static_cast<std::size_t>(journal.original_length));
}

Recovery recover_file(std::string_view path) {
  std::string jpath = journal_path_for(path);
  platform::File journal;
  int err = platform::File::open(jpath, platform::OpenMode::read_write_or_read_only, journal);
  if (err == se::not_found) return {};
  if (err) return {RecoveryOutcome::failed, err};
  if (journal.try_lock() == se::busy) return {RecoveryOutcome::busy, se::busy};

  ParsedJournal parsed;
  if ((err = read_journal(journal, parsed))) return {RecoveryOutcome::failed, err};
  RecoveryOutcome outcome = RecoveryOutcome::discarded;
  if (parsed.has_header && platform::file_exists(path)) {
    platform::File file;
    if ((err = platform::File::open(path, platform::OpenMode::read_write, file))) {
      return {RecoveryOutcome::failed, err};
    }
    bool belongs = false;
    if ((err = check_owner(journal, file, parsed, belongs))) return {RecoveryOutcome::failed, err};
    if (!belongs) {
      journal.close();
      if ((err = platform::rename_file(jpath, stale_journal_path_for(path)))) return {RecoveryOutcome::failed, err};
      if ((err = platform::sync_parent_directory(jpath))) return {RecoveryOutcome::failed, err};
      return {RecoveryOutcome::stale, 0};
    }
    if ((err = apply_to_file(file, parsed))) return {RecoveryOutcome::failed, err};
    outcome = RecoveryOutcome::rolled_back;
  }
  journal.close();
  if ((err = platform::remove_file(jpath))) return {RecoveryOutcome::failed, err};
  if ((err = platform::sync_parent_directory(jpath))) return {RecoveryOutcome::failed, err};
  return {outcome, 0};
}

// --- JournaledFile -------------------------------------------------------------

int JournaledFile::open(std::string_view path, platform::OpenMode mode, std::unique_ptr<JournaledFile>& out,
                        Recovery* recovery) {
  out.reset();
  Recovery r = recover_file(path);
  if (recovery) *recovery = r;
  if (r.outcome == RecoveryOutcome::failed) return r.error;
  std::unique_ptr<JournaledFile> f(new JournaledFile());
  if (int err = platform::File::open(path, mode, f->file_)) return err;
  f->journal_path_ = journal_path_for(path);
  out = std::move(f);
  return 0;
}

JournaledFile::~JournaledFile() {
  if (in_change()) roll_back();
}

int JournaledFile::begin_change() {
  if (in_change()) return 0;
  if (!file_.writable()) return se::permission;
  if (int err = file_.size(original_length_)) return err;
  // An existing journal belongs to another writer (or to a crash that came
  // after this file was opened): never overwrite it.
  int err = platform::File::create(journal_path_, platform::CreateMode::exclusive, journal_);
  if (err) return err == se::exists ? se::busy : err;
  JournalOwner owner;
  if ((err = journal_.try_lock()) || (err = file_.identity(owner.file)) || (err = journal_.identity(owner.journal)) ||
      (err = journal_.write_at(0, header_bytes(original_length_, owner)))) {
    end_change();
    return err;
  }
  journal_end_ = kHeaderSize;
  durable_end_ = 0;
  entry_durable_ = false;
  least_length_ = most_length_ = original_length_;
  saved_.clear();
  return 0;
}

void JournaledFile::end_change() {
  journal_.close();
  platform::remove_file(journal_path_);
  platform::sync_parent_directory(journal_path_);
  saved_.clear();
}

int JournaledFile::make_journal_durable() {
  if (durable_end_ == journal_end_ && entry_durable_) return 0;
  if (int err = journal_.sync()) return err;
  durable_end_ = journal_end_;
  if (!entry_durable_) {
    if (int err = platform::sync_parent_directory(journal_path_)) return err;
    entry_durable_ = true;
  }
  return 0;
}

int JournaledFile::note_length(std::uint64_t length) {
  if (length >= least_length_ && length <= most_length_) return 0;
  auto record = size_record_bytes(length);
  if (int err = journal_.write_at(journal_end_, record)) return err;
  journal_end_ += record.size();
  least_length_ = std::min(least_length_, length);
  most_length_ = std::max(most_length_, length);
  return 0;
}

int JournaledFile::save_old_bytes(std::uint64_t offset, std::uint64_t length) {
  // Bytes past the old end need no saving: cutting the file restores them.
  std::uint64_t end = std::min(offset + length, original_length_);
  std::uint64_t at = offset;
  while (at < end) {
    // Skip what an earlier record of this change already holds.
    auto next = saved_.upper_bound(at);
    if (next != saved_.begin()) {
      auto prev = std::prev(next);
      if (prev->second > at) {
        at = prev->second;
        continue;
      }
    }
    std::uint64_t piece_end = std::min({end, at + kPiece, next == saved_.end() ? end : next->first});
    std::vector<std::uint8_t> old(static_cast<std::size_t>(piece_end - at));
    if (int err = file_.read_exact(at, old)) return err;
    auto record = record_bytes(at, old);
    if (int err = journal_.write_at(journal_end_, record)) return err;
    journal_end_ += record.size();
    // Record the range, merging with neighbours.
    std::uint64_t s = at, e = piece_end;
    auto it = saved_.lower_bound(s);
    if (it != saved_.begin() && std::prev(it)->second >= s) {
      --it;
      s = it->first;
    }
    while (it != saved_.end() && it->first <= e) {
      e = std::max(e, it->second);
      it = saved_.erase(it);
    }
    saved_[s] = e;
    at = piece_end;
  }
  return 0;
}

int JournaledFile::write(std::span<const PlannedWrite> batch) {
  if (batch.empty()) return 0;
  if (int err = begin_change()) return err;
  std::uint64_t length = 0;
  if (int err = file_.size(length)) return err;
  for (const PlannedWrite& w : batch) {
    if (int err = save_old_bytes(w.offset, w.bytes.size())) return err;
    if (!w.bytes.empty()) length = std::max(length, w.offset + w.bytes.size());
  }
  if (int err = note_length(length)) return err;
  if (int err = make_journal_durable()) return err;
  for (const PlannedWrite& w : batch) {
    if (int err = file_.write_at(w.offset, w.bytes)) return err;
  }
  return 0;
}

int JournaledFile::set_length(std::uint64_t length) {
  std::uint64_t current = 0;
  if (int err = file_.size(current)) return err;
  if (length == current) return 0;
  if (int err = begin_change()) return err;
  if (length < current) {
    if (int err = save_old_bytes(length, current - length)) return err;
  }
  if (int err = note_length(length)) return err;
  if (int err = make_journal_durable()) return err;
  return file_.truncate(length);
}

int JournaledFile::commit() {
  if (!in_change()) return 0;
  if (int err = file_.sync()) return err;
  // A journal that stays would undo the change at the next open: a commit
  // that cannot remove it failed, and the change stays in progress.
  if (int err = platform::remove_file(journal_path_)) return err;
  journal_.close();
  saved_.clear();
  return platform::sync_parent_directory(journal_path_);
}

int JournaledFile::roll_back() {
  if (!in_change()) return 0;
  ParsedJournal parsed;
  int err = read_journal(journal_, parsed);
  if (!err && parsed.has_header) err = apply_to_file(file_, parsed);
  // On failure the journal stays for the next opener to try again.
  if (err) {
    journal_.close();
    return err;
  }
  end_change();
  return 0;
}

}  // namespace orvane
