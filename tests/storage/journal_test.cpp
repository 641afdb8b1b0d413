// The rollback journal on its own: what it saves, what it restores, and the
// journals it must not trust or must not touch.
#include "storage/journal.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

std::unique_ptr<JournaledFile> open_rw(const std::string& path, Recovery* r = nullptr) {
  std::unique_ptr<JournaledFile> f;
  EXPECT_EQ(JournaledFile::open(path, platform::OpenMode::read_write, f, r), 0);
  return f;
}

TEST(Journal, ACommittedChangeStaysAndLeavesNoJournal) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  auto f = open_rw(path);
  std::vector<PlannedWrite> batch = {{2, text_bytes("ab")}, {12, text_bytes("XY")}};
  ASSERT_EQ(f->write(batch), 0);
  EXPECT_TRUE(platform::file_exists(journal_path_for(path)));
  ASSERT_EQ(f->commit(), 0);
  EXPECT_FALSE(platform::file_exists(journal_path_for(path)));
  f.reset();
  Bytes want = text_bytes("01ab456789");
  want.insert(want.end(), {0, 0, 'X', 'Y'});
  EXPECT_EQ(read_bytes(path), want);
}

TEST(Journal, AnUncommittedChangeIsUndoneWhenTheFileCloses) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  {
    auto f = open_rw(path);
    std::vector<PlannedWrite> batch = {{8, text_bytes("abcdef")}};
    ASSERT_EQ(f->write(batch), 0);
    ASSERT_EQ(f->set_length(3), 0);
    std::vector<PlannedWrite> again = {{0, text_bytes("zz")}};
    ASSERT_EQ(f->write(again), 0);
  }
  EXPECT_EQ(read_bytes(path), text_bytes("0123456789"));
  EXPECT_FALSE(platform::file_exists(journal_path_for(path)));
}

TEST(Journal, AJournalLeftBehindIsRolledBackOnOpen) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  {
    auto f = open_rw(path);
    std::vector<PlannedWrite> batch = {{0, text_bytes("changed-and-longer")}};
    ASSERT_EQ(f->write(batch), 0);
    // Keep the journal as a crash would: copy it before the file closes.
    write_bytes(dir.file("saved-journal"), read_bytes(journal_path_for(path)));
  }
  write_bytes(path, text_bytes("changed-and-longer"));
  write_bytes(journal_path_for(path), read_bytes(dir.file("saved-journal")));
  Recovery r;
  auto f = open_rw(path, &r);
  EXPECT_EQ(r.outcome, RecoveryOutcome::rolled_back);
  EXPECT_EQ(read_bytes(path), text_bytes("0123456789"));
  EXPECT_FALSE(platform::file_exists(journal_path_for(path)));
}

TEST(Journal, TornRecordsEndTheJournal) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  Bytes journal;
  {
    auto f = open_rw(path);
    std::vector<PlannedWrite> first = {{0, text_bytes("AB")}};
    std::vector<PlannedWrite> second = {{5, text_bytes("CD")}};
    ASSERT_EQ(f->write(first), 0);
    ASSERT_EQ(f->write(second), 0);
    journal = read_bytes(journal_path_for(path));
  }
  ParsedJournal whole = parse_journal(journal);
  ASSERT_TRUE(whole.has_header);
  ASSERT_EQ(whole.records.size(), 2u);
  EXPECT_EQ(whole.original_length, 10u);
  EXPECT_EQ(whole.records[1].offset, 5u);
  EXPECT_EQ(whole.records[1].bytes, text_bytes("56"));

  Bytes cut(journal.begin(), journal.end() - 3);
  EXPECT_EQ(parse_journal(cut).records.size(), 1u);
  Bytes flipped = journal;
  flipped.back() ^= 0x40;
  EXPECT_EQ(parse_journal(flipped).records.size(), 1u);
  Bytes bad_header = journal;
  bad_header[9] ^= 1;
  EXPECT_FALSE(parse_journal(bad_header).has_header);
  EXPECT_FALSE(parse_journal(Bytes(5, 0)).has_header);

  Bytes file = text_bytes("AB234CD789extra");
  roll_back_in_memory(file, whole);
  EXPECT_EQ(file, text_bytes("0123456789"));
}

TEST(Journal, AJournalWithoutAHeaderIsDiscardedAndTheFileKept) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("content"));
  write_bytes(journal_path_for(path), text_bytes("ORVN"));
  Recovery r = recover_file(path);
  EXPECT_EQ(r.outcome, RecoveryOutcome::discarded);
  EXPECT_EQ(read_bytes(path), text_bytes("content"));
  EXPECT_FALSE(platform::file_exists(journal_path_for(path)));
}

TEST(Journal, AJournalInUseByAnotherWriterIsLeftAlone) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  auto writer = open_rw(path);
  std::vector<PlannedWrite> batch = {{0, text_bytes("new")}};
  ASSERT_EQ(writer->write(batch), 0);
  Recovery r = recover_file(path);
  EXPECT_EQ(r.outcome, RecoveryOutcome::busy);
  EXPECT_EQ(read_bytes(path), text_bytes("new3456789"));
  // A second writer cannot start a change of its own meanwhile.
  std::unique_ptr<JournaledFile> other;
  ASSERT_EQ(JournaledFile::open(path, platform::OpenMode::read_write, other), 0);
  EXPECT_EQ(other->write(batch), platform::sys_error::busy);
  ASSERT_EQ(writer->commit(), 0);
}

TEST(Journal, OnlyTheOldBytesAreSavedAndEachOnlyOnce) {
  TempDir dir;
  std::string path = dir.file("f");
  write_bytes(path, text_bytes("0123456789"));
  auto f = open_rw(path);
  std::vector<PlannedWrite> a = {{4, text_bytes("abcd")}};
  std::vector<PlannedWrite> b = {{2, text_bytes("ABCDEFGHIJ")}};
  ASSERT_EQ(f->write(a), 0);
  ASSERT_EQ(f->write(b), 0);
  ParsedJournal j = parse_journal(read_bytes(journal_path_for(path)));
  std::size_t saved = 0;
  for (const auto& rec : j.records) saved += rec.bytes.size();
  EXPECT_EQ(saved, 8u);  // bytes 2..9 of the old file, nothing past its end
  ASSERT_EQ(f->roll_back(), 0);
  EXPECT_EQ(read_bytes(path), text_bytes("0123456789"));
}

}  // namespace
}  // namespace orvane::testing
