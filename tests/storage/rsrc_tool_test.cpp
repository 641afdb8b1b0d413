// `orvane rsrc` end to end: its output, its exit status and the files it
// leaves.
#include "app/rsrc_tool.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <iostream>
#include <sstream>

#include "platform/file_io.h"
#include "storage/journal.h"
#include "storage_support.h"

namespace orvane::testing {
namespace {

struct ToolRun {
  int status = 0;
  std::string out, err;
};

ToolRun rsrc(std::vector<std::string> args) {
  args.insert(args.begin(), "rsrc");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  std::ostringstream out, err;
  auto* old_out = std::cout.rdbuf(out.rdbuf());
  auto* old_err = std::cerr.rdbuf(err.rdbuf());
  ToolRun r;
  r.status = rsrc_main(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(old_out);
  std::cerr.rdbuf(old_err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

class RsrcToolTest : public ::testing::Test {
 protected:
  std::string file(const std::string& name) { return dir.file(name); }
  std::string data_file(const std::string& name, std::string_view contents) {
    write_bytes(file(name), text_bytes(contents));
    return file(name);
  }
  TempDir dir;
};

TEST_F(RsrcToolTest, NewAddListExtractRemove) {
  std::string f = file("T.RI");
  ASSERT_EQ(rsrc({"new", f, "--type", "APPL", "--creator", "ORVN"}).status, 0);
  EXPECT_EQ(read_bytes(f).size(), 286u);
  EXPECT_EQ(rsrc({"new", f}).status, 1);

  ASSERT_EQ(rsrc({"add", f, "TEXT", "128", data_file("a", "hello"), "--name", "greeting"}).status, 0);
  ASSERT_EQ(rsrc({"add", f, "STR", "-5", data_file("b", "xy")}).status, 0);
  EXPECT_EQ(rsrc({"add", f, "TEXT", "128", data_file("c", "other")}).status, 1);
  ASSERT_EQ(rsrc({"add", f, "TEXT", "128", data_file("c", "other"), "--replace"}).status, 0);

  ToolRun list = rsrc({"list", f});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("type 'APPL', creator 'ORVN', 2 types, 2 resources"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\"greeting\""), std::string::npos);
  EXPECT_NE(list.out.find("STR "), std::string::npos);

  ToolRun json = rsrc({"list", f, "--json"});
  ASSERT_EQ(json.status, 0);
  auto doc = nlohmann::json::parse(json.out);
  EXPECT_TRUE(doc["runtime_accepts"].get<bool>());
  ASSERT_EQ(doc["resources"].size(), 2u);
  EXPECT_EQ(doc["resources"][0]["type"], "TEXT");
  EXPECT_EQ(doc["resources"][0]["size"], 5);
  EXPECT_EQ(doc["resources"][1]["id"], -5);
  EXPECT_TRUE(doc["resources"][1]["name"].is_null());

  ToolRun extract = rsrc({"extract", f, "TEXT", "128"});
  EXPECT_EQ(extract.status, 0);
  EXPECT_EQ(extract.out, "other");
  ASSERT_EQ(rsrc({"extract", f, "--all", file("out")}).status, 0);
  EXPECT_EQ(read_bytes(file("out/TEXT_128.bin")), text_bytes("other"));
  EXPECT_EQ(read_bytes(file("out/STR%20_-5.bin")), text_bytes("xy"));
  EXPECT_EQ(rsrc({"extract", f, "TEXT", "7"}).status, 1);

  ASSERT_EQ(rsrc({"rm", f, "TEXT", "128"}).status, 0);
  EXPECT_EQ(rsrc({"rm", f, "TEXT", "128"}).status, 1);
  auto after = nlohmann::json::parse(rsrc({"list", f, "--json"}).out);
  EXPECT_EQ(after["resources"].size(), 1u);
  EXPECT_EQ(after["types"], 1);  // compacted
  EXPECT_EQ(rsrc({"check", f}).status, 0);
}

TEST_F(RsrcToolTest, BadUsageExitsWithTwo) {
  EXPECT_EQ(rsrc({}).status, 2);
  EXPECT_EQ(rsrc({"frobnicate"}).status, 2);
  EXPECT_EQ(rsrc({"list"}).status, 2);
  EXPECT_EQ(rsrc({"add", file("x"), "TOOLONG", "1", file("d")}).status, 2);
  EXPECT_EQ(rsrc({"add", file("x"), "TEXT", "40000", file("d")}).status, 2);
  EXPECT_EQ(rsrc({"extract", file("x")}).status, 2);
  ToolRun help = rsrc({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("check"), std::string::npos);
  EXPECT_EQ(rsrc({"list", "--help"}).status, 0);
}

TEST_F(RsrcToolTest, MissingAndForeignFilesAreReportedFailures) {
  EXPECT_EQ(rsrc({"list", file("none")}).status, 1);
  write_bytes(file("junk"), Bytes(300, 7));
  ToolRun r = rsrc({"list", file("junk")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a resource file"), std::string::npos);
  ToolRun j = rsrc({"list", file("junk"), "--json"});
  EXPECT_EQ(j.status, 1);
  EXPECT_FALSE(nlohmann::json::parse(j.out)["ok"].get<bool>());
}

TEST_F(RsrcToolTest, MacintoshForksAreReadButFlagged) {
  std::string f = file("M.RI");
  ASSERT_EQ(rsrc({"new", f}).status, 0);
  ASSERT_EQ(rsrc({"add", f, "ICON", "1", data_file("i", "icon")}).status, 0);
  Bytes b = read_bytes(f);
  b[128] = 0x42;  // application data, as on a Macintosh disk
  write_bytes(f, b);
  ToolRun list = rsrc({"list", f});
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.err.find("the run-time would refuse this file: byte 128 is not 0"), std::string::npos) << list.err;
  EXPECT_EQ(rsrc({"extract", f, "ICON", "1"}).out, "icon");
  EXPECT_FALSE(nlohmann::json::parse(rsrc({"list", f, "--json"}).out)["runtime_accepts"].get<bool>());
  // Editing is refused: the run-time could not open the result.
  EXPECT_EQ(rsrc({"add", f, "ICON", "2", data_file("i", "x")}).status, 1);
  EXPECT_EQ(read_bytes(f), b);
  ToolRun check = rsrc({"check", f});
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find(":128: error: byte 128 is not 0"), std::string::npos) << check.out;
}

TEST_F(RsrcToolTest, CheckReportsEachProblemWithItsOffset) {
  std::string f = file("C.RI");
  ASSERT_EQ(rsrc({"new", f}).status, 0);
  ASSERT_EQ(rsrc({"add", f, "TEXT", "1", data_file("d", "abc")}).status, 0);
  Bytes b = read_bytes(f);
  store_u32be(b.data() + 256, 1000);  // the data block's length runs into the map
  b[20] = 1;                           // a reserved header byte
  write_bytes(f, b);
  ToolRun check = rsrc({"check", f, "--json"});
  EXPECT_EQ(check.status, 1);
  auto doc = nlohmann::json::parse(check.out);
  bool found_block = false, found_reserved = false;
  for (auto& finding : doc["findings"]) {
    if (finding["offset"] == 256 && finding["severity"] == "error") found_block = true;
    if (finding["offset"] == 20 && finding["severity"] == "warning") found_reserved = true;
  }
  EXPECT_TRUE(found_block) << check.out;
  EXPECT_TRUE(found_reserved) << check.out;
}

TEST_F(RsrcToolTest, AJournalLeftByACrashIsRolledBackFirst) {
  std::string f = file("J.RI");
  ASSERT_EQ(rsrc({"new", f}).status, 0);
  ASSERT_EQ(rsrc({"add", f, "TEXT", "1", data_file("d", "abc")}).status, 0);
  Bytes good = read_bytes(f);
  // A change that wrote over the map and never finished.
  {
    std::unique_ptr<JournaledFile> jf;
    ASSERT_EQ(JournaledFile::open(f, platform::OpenMode::read_write, jf), 0);
    std::vector<PlannedWrite> batch = {{good.size() - 20, Bytes(40, 0xee)}};
    ASSERT_EQ(jf->write(batch), 0);
    write_bytes(file("journal"), read_bytes(journal_path_for(f)));
    write_bytes(file("broken"), read_bytes(f));
  }
  write_bytes(f, read_bytes(file("broken")));
  write_bytes(journal_path_for(f), read_bytes(file("journal")));
  ToolRun list = rsrc({"list", f});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.err.find("rolled back"), std::string::npos);
  EXPECT_EQ(read_bytes(f), good);
  EXPECT_FALSE(platform::file_exists(journal_path_for(f)));
}

TEST_F(RsrcToolTest, AJournalOfAFileSinceReplacedIsReportedAndNotApplied) {
  std::string f = file("J.RI");
  ASSERT_EQ(rsrc({"new", f}).status, 0);
  {
    std::unique_ptr<JournaledFile> jf;
    ASSERT_EQ(JournaledFile::open(f, platform::OpenMode::read_write, jf), 0);
    std::vector<PlannedWrite> batch = {{40, Bytes(20, 0xee)}};
    ASSERT_EQ(jf->write(batch), 0);
    // The very journal a crash would leave, kept aside while the writer ends.
    ASSERT_EQ(platform::rename_file(journal_path_for(f), file("kept")), 0);
  }
  // Another file takes the name, then the old journal comes back beside it.
  std::string other = file("Other.RI");
  ASSERT_EQ(rsrc({"new", other}).status, 0);
  Bytes replacement = read_bytes(other);
  ASSERT_EQ(platform::rename_file(other, f), 0);
  ASSERT_EQ(platform::rename_file(file("kept"), journal_path_for(f)), 0);
  ToolRun list = rsrc({"list", f});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.err.find("not applied"), std::string::npos) << list.err;
  EXPECT_EQ(read_bytes(f), replacement);
  EXPECT_FALSE(platform::file_exists(journal_path_for(f)));
  EXPECT_TRUE(platform::file_exists(stale_journal_path_for(f)));
}

}  // namespace
}  // namespace orvane::testing
