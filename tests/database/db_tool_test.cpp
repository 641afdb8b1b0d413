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

}  // namespace
}  // namespace orvane::testing
