#include "app/db_tool.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/tool_text.h"
#include "lib/dates.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_io.h"
#include "storage/database.h"
#include "storage/handle_store.h"
#include "storage/journal.h"

namespace orvane {

namespace {

using nlohmann::json;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

const char* error_text(const DatabaseError& e) {
  if (e.system) {
    switch (e.code) {
      case platform::sys_error::not_found: return "file not found";
      case platform::sys_error::permission: return "permission denied";
      case platform::sys_error::disk_full: return "disk full";
      case platform::sys_error::busy: return "another process is writing the file";
      default: return "file system error";
    }
  }
  switch (e.code) {
    case 1: return "not a record database";
    case 2: return "out of memory";
    case 3: return "read failure";
    case 5: return "no such record";
    case 6: return "file already exists";
    case 7: return "handle missing or already a record";
    case 8: return "record protected";
    case 9: return "database read-only";
    default: return "database error";
  }
}

std::uint32_t now_seconds() { return static_cast<std::uint32_t>(time_from_unix(platform::clock().unix_time())); }

std::string shown(std::string_view text) { return terminal_text(text); }

std::string type_text(FourCC t) { return shown(t.view()); }

int fail(bool json_output, const std::string& message) { return report_failure("db", json_output, message); }

// --- list -------------------------------------------------------------------------------------------

int list_command(const std::string& file, bool json_output) {
  MemoryHandleStore store;
  std::unique_ptr<Database> db;
  try {
    db = open_database_file(file, DbOpenMode::read_only, store, now_seconds);
  } catch (const DatabaseError& e) {
    return fail(json_output, file + ": " + error_text(e));
  }
  json records = json::array();
  for (const DbType& t : db->types())
    for (const DbEntry& e : t.entries)
      records.push_back({{"type", type_text(t.type)},
                         {"id", e.id},
                         {"name", shown(db->name_of(e))},
                         {"attributes", e.attrs},
                         {"size", e.size},
                         {"offset", e.data_offset},
                         {"time", e.time}});
  if (json_output) {
    std::cout << json{{"ok", true},
                      {"file", file},
                      {"creator", type_text(db->header().creator)},
                      {"type", type_text(db->header().type)},
                      {"records", records}}
                     .dump(2)
              << "\n";
    return kOk;
  }
  std::printf("%s: creator '%s', type '%s', %zu records\n", file.c_str(), type_text(db->header().creator).c_str(),
              type_text(db->header().type).c_str(), records.size());
  std::printf("%-6s %11s %5s %10s %10s  %s\n", "TYPE", "ID", "ATTRS", "SIZE", "OFFSET", "NAME");
  for (const json& r : records)
    std::printf("%-6s %11d  0x%02x %10d %10d  %s\n", r["type"].get<std::string>().c_str(), r["id"].get<int>(),
                r["attributes"].get<int>(), r["size"].get<int>(), r["offset"].get<int>(),
                r["name"].get<std::string>().c_str());
  return kOk;
}

// --- get / put ----------------------------------------------------------------------------------------

int get_command(const std::string& file, const std::string& type, std::int32_t id, const std::string& output,
                bool json_output) {
  MemoryHandleStore store;
  try {
    auto db = open_database_file(file, DbOpenMode::read_only, store, now_seconds);
    FourCC t = FourCC::of(type);
    DbEntry* e = db->find(t, id);
    if (!e) return fail(json_output, "no record " + type + " " + std::to_string(id));
    auto bytes = store.bytes(db->load(t, *e, false));
    std::string data(bytes.begin(), bytes.end());
    if (json_output) {
      std::cout << json{{"ok", true}, {"type", type}, {"id", id}, {"size", data.size()}, {"text", shown(data)}}.dump()
                << "\n";
      return kOk;
    }
    if (output.empty() || output == "-") {
      std::cout.write(data.data(), static_cast<std::streamsize>(data.size()));
      return kOk;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) return fail(json_output, "cannot write " + output);
    return kOk;
  } catch (const DatabaseError& e) {
    return fail(json_output, file + ": " + error_text(e));
  }
}

int put_command(const std::string& file, const std::string& type, std::int32_t id, const std::string& data_path,
                const std::optional<std::string>& name, bool create, bool json_output) {
  std::string data;
  if (data_path == "-") {
    data.assign(std::istreambuf_iterator<char>(std::cin), {});
  } else if (platform::read_whole_file(data_path, data) != 0) {
    return fail(json_output, "cannot read " + data_path);
  }
  MemoryHandleStore store;
  try {
    if (create && !platform::file_exists(file)) create_database_file(file, FourCC::of("ORVN"), FourCC::of("DBSE"));
    auto db = open_database_file(file, DbOpenMode::read_write, store, now_seconds);
    FourCC t = FourCC::of(type);
    DbEntry* e = db->find(t, id);
    std::uint32_t h = e ? db->load(t, *e, true) : store.create();
    if (!store.resize(h, static_cast<std::uint32_t>(data.size()))) return fail(json_output, "out of memory");
    std::copy(data.begin(), data.end(), store.bytes(h).begin());
    if (e) {
      db->changed(h);
      if (name) db->set_info(h, id, *name);
    } else {
      db->add(h, t, id, name.value_or(""));
    }
    db->update(true);
  } catch (const DatabaseError& e) {
    return fail(json_output, file + ": " + error_text(e));
  }
  if (json_output) std::cout << json{{"ok", true}, {"type", type}, {"id", id}, {"size", data.size()}}.dump() << "\n";
  return kOk;
}

// --- check --------------------------------------------------------------------------------------------

// Problems the run-time tolerates but that show damage: records sharing
// bytes, duplicate ids, names outside the name list.
std::vector<std::string> inconsistencies(Database& db) {
  std::vector<std::string> out;
  struct Span {
    std::int64_t start, end;
    std::string what;
  };
  std::vector<Span> spans;
  for (const DbType& t : db.types()) {
    std::map<std::int32_t, int> ids;
    for (const DbEntry& e : t.entries) {
      std::string what = type_text(t.type) + " " + std::to_string(e.id);
      if (++ids[e.id] == 2) out.push_back("duplicate id: " + what);
      if (e.name_offset >= 0 && db.name_of(e).empty()) out.push_back("name outside the name list: " + what);
      if (e.data_offset >= 0 && e.size > 0) spans.push_back({e.data_offset, std::int64_t{e.data_offset} + e.size, what});
    }
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
  for (std::size_t i = 1; i < spans.size(); ++i)
    if (spans[i].start < spans[i - 1].end)
      out.push_back("records share bytes: " + spans[i - 1].what + " and " + spans[i].what);
  return out;
}

int check_command(const std::string& file, bool json_output) {
  std::vector<std::string> problems;
  if (platform::file_exists(journal_path_for(file)))
    problems.push_back(read_journal_for(file)
                           ? "an unfinished change is journaled (it is rolled back at the next writable open)"
                           : "the journal beside the file does not apply to it (it is empty, or the file was replaced "
                             "since); the next writable open discards or sets it aside unapplied");
  MemoryHandleStore store;
  try {
    auto db = open_database_file(file, DbOpenMode::read_only, store, now_seconds);
    for (std::string& p : inconsistencies(*db)) problems.push_back(std::move(p));
  } catch (const DatabaseError& e) {
    problems.push_back(error_text(e));
  }
  if (json_output) {
    std::cout << json{{"ok", problems.empty()}, {"file", file}, {"problems", problems}}.dump(2) << "\n";
  } else if (problems.empty()) {
    std::printf("%s: no problems found\n", file.c_str());
  } else {
    for (const std::string& p : problems) std::printf("%s: %s\n", file.c_str(), p.c_str());
  }
  return problems.empty() ? kOk : kFailed;
}

std::string type_check(const std::string& s) {
  return s.empty() || s.size() > 4 ? "a type has 1 to 4 characters" : "";
}

}  // namespace

int db_main(int argc, char** argv) {
  CLI::App app{"Inspect record databases.", "orvane db"};
  app.require_subcommand(1, 1);
  bool json_output = false;
  app.add_flag("--json", json_output, "Print JSON for scripts instead of text");
  app.fallthrough();

  std::string file, type, data_path, output;
  std::int32_t id = 0;
  std::optional<std::string> name;
  bool create = false;

  auto* list = app.add_subcommand("list", "List the records of a database");
  list->add_option("FILE", file, "Database file")->required();

  auto* get = app.add_subcommand("get", "Write the data of a record (text converted as the run-time loads it)");
  get->add_option("FILE", file, "Database file")->required();
  get->add_option("TYPE", type, "Record type (1 to 4 characters)")->required()->check(type_check);
  get->add_option("ID", id, "Record id")->required();
  get->add_option("-o,--output", output, "Output file (standard output when omitted)");

  auto* put = app.add_subcommand("put", "Store a record, replacing one of that type and id");
  put->add_option("FILE", file, "Database file")->required();
  put->add_option("TYPE", type, "Record type (1 to 4 characters)")->required()->check(type_check);
  put->add_option("ID", id, "Record id")->required();
  put->add_option("DATA", data_path, "File holding the data (- for standard input)")->required();
  put->add_option("--name", name, "Record name (at most 255 characters)")
      ->check([](const std::string& s) { return s.size() > 255 ? "a name has at most 255 characters" : ""; });
  put->add_flag("--create", create, "Create the database when the file does not exist");

  auto* check = app.add_subcommand("check", "Report every inconsistency of a database");
  check->add_option("FILE", file, "Database file")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int status = app.exit(e);
    return status == 0 ? kOk : kBadUsage;
  }
  if (list->parsed()) return list_command(file, json_output);
  if (get->parsed()) return get_command(file, type, id, output, json_output);
  if (put->parsed()) return put_command(file, type, id, data_path, name, create, json_output);
  if (check->parsed()) return check_command(file, json_output);
  return kBadUsage;
}

}  // namespace orvane
