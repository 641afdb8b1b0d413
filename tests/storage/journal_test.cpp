// The rollback journal on its own: what it saves, what it restores, and the
// journals it must not trust or must not touch.
#include "storage/journal.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>

#include "platform/file_io.h"
#include "platform/simulated_disk.h"
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

// --- On a disk that loses power ---------------------------------------------------

const std::string kFile = "/f";
const Bytes kOld = text_bytes("0123456789");

using Change = std::function<void(JournaledFile&)>;

// Runs a change on a simulated disk; at each of its points, before the
// commit, `check` gets the disk as each kind of crash would leave it.
void crash_during(const Change& change, const std::function<void(platform::SimulatedDisk&)>& check) {
  platform::SimulatedDisk disk;
  disk.put_file(kFile, kOld);
  bool committing = false;
  disk.set_point_observer([&] {
    if (committing) return;
    for (std::uint32_t seed = 0; seed < 16; ++seed) {
      for (auto kind : {platform::Crash::process_death, platform::Crash::power_cut, platform::Crash::partial_power_cut}) {
        platform::SimulatedDisk crashed = disk.after_crash(kind, seed);
        check(crashed);
      }
    }
  });
  platform::FileSystemScope scope(disk);
  std::unique_ptr<JournaledFile> f;
  ASSERT_EQ(JournaledFile::open(kFile, platform::OpenMode::read_write, f), 0);
  change(*f);
  committing = true;
  ASSERT_EQ(f->commit(), 0);
}

Recovery recover_on(platform::SimulatedDisk& disk) {
  platform::FileSystemScope scope(disk);
  return recover_file(kFile);
}

// Changes whose first step cuts, grows and writes past the end of the file.
std::vector<std::pair<const char*, Change>> changes() {
  return {
      {"cut first", [](JournaledFile& f) {
         ASSERT_EQ(f.set_length(4), 0);
         ASSERT_EQ(f.write(std::vector<PlannedWrite>{{2, text_bytes("ab")}}), 0);
       }},
      {"grown first", [](JournaledFile& f) {
         ASSERT_EQ(f.set_length(3000), 0);
         ASSERT_EQ(f.write(std::vector<PlannedWrite>{{2900, text_bytes("far")}}), 0);
       }},
      {"appended first", [](JournaledFile& f) {
         ASSERT_EQ(f.write(std::vector<PlannedWrite>{{10, Bytes(1500, 'x')}}), 0);
         ASSERT_EQ(f.write(std::vector<PlannedWrite>{{0, text_bytes("head")}}), 0);
         ASSERT_EQ(f.set_length(700), 0);
       }},
  };
}

TEST(JournalPowerCut, EveryCrashBeforeTheCommitRestoresTheFile) {
  for (const auto& [name, change] : changes()) {
    int crashes = 0;
    crash_during(change, [&, name = name](platform::SimulatedDisk& disk) {
      ++crashes;
      Recovery r = recover_on(disk);
      EXPECT_NE(r.outcome, RecoveryOutcome::failed) << name;
      EXPECT_NE(r.outcome, RecoveryOutcome::stale) << name;
      EXPECT_EQ(disk.contents(kFile), kOld) << name;
      EXPECT_FALSE(disk.file_exists(journal_path_for(kFile))) << name;
    });
    EXPECT_GT(crashes, 100) << name;
  }
}

TEST(JournalPowerCut, ACrashWhileRollingBackIsRolledBackAgain) {
  int crashes = 0;
  for (const auto& [name, change] : changes()) {
    crash_during(change, [&, name = name](platform::SimulatedDisk& disk) {
      if (!disk.file_exists(journal_path_for(kFile))) return;
      std::vector<platform::SimulatedDisk> during;
      disk.set_point_observer([&] {
        for (auto kind : {platform::Crash::power_cut, platform::Crash::partial_power_cut})
          during.push_back(disk.after_crash(kind, static_cast<std::uint32_t>(during.size())));
      });
      recover_on(disk);
      for (platform::SimulatedDisk& again : during) {
        ++crashes;
        Recovery r = recover_on(again);
        EXPECT_TRUE(r.outcome != RecoveryOutcome::failed && r.outcome != RecoveryOutcome::stale) << name;
        EXPECT_EQ(again.contents(kFile), kOld) << name;
      }
    });
  }
  EXPECT_GT(crashes, 1000);
}

// The disk as a crash in the middle of a change leaves it: the file half
// written, its journal beside it.
platform::SimulatedDisk interrupted_change() {
  platform::SimulatedDisk disk;
  disk.put_file(kFile, kOld);
  platform::FileSystemScope scope(disk);
  std::unique_ptr<JournaledFile> f;
  EXPECT_EQ(JournaledFile::open(kFile, platform::OpenMode::read_write, f), 0);
  EXPECT_EQ(f->write(std::vector<PlannedWrite>{{0, text_bytes("changed-and-longer")}}), 0);
  return disk.after_crash(platform::Crash::process_death, 0);
}

TEST(JournalPowerCut, AJournalBesideAReplacedFileIsSetAsideUnapplied) {
  platform::SimulatedDisk disk = interrupted_change();
  ASSERT_TRUE(disk.file_exists(journal_path_for(kFile)));
  Bytes journal = *disk.contents(journal_path_for(kFile));
  disk.put_file(kFile, text_bytes("a new file of the same name"));  // another file in its place
  Recovery r = recover_on(disk);
  EXPECT_EQ(r.outcome, RecoveryOutcome::stale);
  EXPECT_EQ(disk.contents(kFile), text_bytes("a new file of the same name"));
  EXPECT_FALSE(disk.file_exists(journal_path_for(kFile)));
  EXPECT_EQ(disk.contents(stale_journal_path_for(kFile)), journal);
  EXPECT_EQ(recover_on(disk).outcome, RecoveryOutcome::none);
}

TEST(JournalPowerCut, AJournalCopiedWithItsFileStillRollsItBack) {
  platform::SimulatedDisk disk = interrupted_change();
  // Copies are new files: neither identity matches any more.
  disk.put_file(kFile, *disk.contents(kFile));
  disk.put_file(journal_path_for(kFile), *disk.contents(journal_path_for(kFile)));
  EXPECT_EQ(recover_on(disk).outcome, RecoveryOutcome::rolled_back);
  EXPECT_EQ(disk.contents(kFile), kOld);
}

TEST(JournalPowerCut, ACopiedJournalBesideAFileOfAnImpossibleLengthIsNotApplied) {
  platform::SimulatedDisk disk = interrupted_change();
  disk.put_file(journal_path_for(kFile), *disk.contents(journal_path_for(kFile)));
  disk.put_file(kFile, Bytes(5000, 'z'));  // longer than the change ever made it
  EXPECT_EQ(recover_on(disk).outcome, RecoveryOutcome::stale);
  EXPECT_EQ(disk.contents(kFile), Bytes(5000, 'z'));
  {
    platform::FileSystemScope scope(disk);
    EXPECT_FALSE(read_journal_for(kFile));
  }
}

// Journals of the first layout, written before journals named their file,
// are still rolled back.
TEST(JournalPowerCut, AJournalOfTheFirstLayoutIsStillRolledBack) {
  auto crc = [](const Bytes& b) { return static_cast<std::uint32_t>(crc32(0L, b.data(), static_cast<uInt>(b.size()))); };
  ByteWriter header;
  header.text("ORVNJRN1");
  header.u64be(10);
  header.u32be(0);
  header.u32be(crc(header.data()));
  ByteWriter record;
  record.text("RECD");
  record.u64be(2);
  record.u32be(3);
  record.text("234");
  record.u32be(crc(record.data()));
  Bytes journal = header.take();
  Bytes rec = record.take();
  journal.insert(journal.end(), rec.begin(), rec.end());
  ParsedJournal parsed = parse_journal(journal);
  ASSERT_TRUE(parsed.has_header);
  EXPECT_FALSE(parsed.owner);
  ASSERT_EQ(parsed.records.size(), 1u);

  platform::SimulatedDisk disk;
  disk.put_file(kFile, text_bytes("01xyz56789-more"));
  disk.put_file(journal_path_for(kFile), journal);
  EXPECT_EQ(recover_on(disk).outcome, RecoveryOutcome::rolled_back);
  EXPECT_EQ(disk.contents(kFile), kOld);
}

}  // namespace
}  // namespace orvane::testing
