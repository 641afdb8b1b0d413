// `orvane db`: storing, listing, reading and checking databases from the
// command line, with the exit status scripts rely on.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/db_tool.h"
#include "platform/byte_reader.h"
#include "db_support.h"
#include "platform/file_io.h"
#include "storage/journal.h"

namespace orvane::testing {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

ToolRun tool(std::initializer_list<std::string> args) {
  std::vector<std::string> words{"db"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  int status = db_main(static_cast<int>(argv.size()), argv.data());
  std::string out = ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  return {status, out};
}

TEST(DbTool, PutListGetAndCheck) {
  DbTempDir dir;
  std::string db = dir.file("t.db"), data = dir.file("d.bin"), got = dir.file("got.bin");
  put_file(data, Bytes{'h', 'i', 0, 1});
  EXPECT_EQ(tool({"put", db, "DATA", "7", data}).status, 1);  // no file, no --create
  EXPECT_EQ(tool({"put", "--create", db, "DATA", "7", data, "--name", "seven"}).status, 0);
  EXPECT_EQ(tool({"put", db, "DATA", "-8", data}).status, 0);

  ToolRun list = tool({"--json", "list", db});
  ASSERT_EQ(list.status, 0);
  auto j = nlohmann::json::parse(list.out);
  ASSERT_EQ(j["records"].size(), 2u);
  EXPECT_EQ(j["records"][0]["id"], 7);
  EXPECT_EQ(j["records"][0]["name"], "seven");
  EXPECT_EQ(j["records"][0]["size"], 4);
  EXPECT_EQ(j["records"][1]["id"], -8);
  EXPECT_NE(tool({"list", db}).out.find("seven"), std::string::npos);

  EXPECT_EQ(tool({"get", db, "DATA", "7", "-o", got}).status, 0);
  EXPECT_EQ(file_bytes(got), (Bytes{'h', 'i', 0, 1}));
  EXPECT_EQ(tool({"get", db, "DATA", "9"}).status, 1);
  EXPECT_EQ(tool({"check", db}).status, 0);
}

TEST(DbTool, CheckReportsDamageAndRefusedFiles) {
  DbTempDir dir;
  std::string db = dir.file("t.db"), data = dir.file("d.bin");
  put_file(data, Bytes(10, 'x'));
  tool({"put", "--create", db, "DATA", "1", data});
  tool({"put", db, "DATA", "2", data});
  Bytes b = file_bytes(db);
  std::uint32_t map = load_u32be(&b[4]);
  std::size_t second = map + 34 + 4 + 12 + 26;
  store_u32be(&b[second + 10], 0);  // the second record now shares the first's bytes
  put_file(db, b);
  ToolRun check = tool({"--json", "check", db});
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("share bytes"), std::string::npos);

  put_file(db, Bytes(300, 0));
  EXPECT_EQ(tool({"check", db}).status, 1);
  EXPECT_EQ(tool({"list", db}).status, 1);
}

TEST(DbTool, BadUsageIsStatus2) {
  EXPECT_EQ(tool({}).status, 2);
  EXPECT_EQ(tool({"frobnicate"}).status, 2);
  EXPECT_EQ(tool({"get", "x.db", "TOOLONG", "1"}).status, 2);
  EXPECT_EQ(tool({"--help"}).status, 0);
}

TEST(DbTool, CheckSaysWhenAJournalDoesNotBelongToTheFile) {
  DbTempDir dir;
  std::string db = dir.file("scores.db");
  create_database_file(db, FourCC::of("ORVN"), FourCC::of("DBSE"));
  {
    MemoryHandleStore store;
    auto first = open_db(db, store);
    add_text(*first, store, "DATA", 1, "in the first file only");
    first->update(false);
  }
  {
    std::unique_ptr<JournaledFile> f;
    ASSERT_EQ(JournaledFile::open(db, platform::OpenMode::read_write, f), 0);
    ASSERT_EQ(f->write(std::vector<PlannedWrite>{{0, Bytes(16, 0xee)}}), 0);
    // The very journal a crash would leave, kept aside while the writer ends.
    ASSERT_EQ(platform::rename_file(journal_path_for(db), dir.file("kept")), 0);
  }
  std::string other = dir.file("other.db");
  create_database_file(other, FourCC::of("ORVN"), FourCC::of("DBSE"));
  ASSERT_EQ(platform::rename_file(other, db), 0);
  ASSERT_EQ(platform::rename_file(dir.file("kept"), journal_path_for(db)), 0);
  ToolRun check = tool({"check", db});
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("does not apply"), std::string::npos) << check.out;
  // The new, empty database is untouched (the journal's header bytes would
  // break it), and the journal is kept aside.
  EXPECT_EQ(stored(db, "DATA", 1), "<absent>");
  EXPECT_FALSE(platform::file_exists(journal_path_for(db)));
  EXPECT_TRUE(platform::file_exists(stale_journal_path_for(db)));
}

}  // namespace
}  // namespace orvane::testing
