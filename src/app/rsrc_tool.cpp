#include "app/rsrc_tool.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/tool_text.h"
#include "graphics/picture_render.h"
#include "platform/console.h"
#include "platform/raster/png_io.h"
#include "platform/file_io.h"
#include "platform/host_paths.h"
#include "storage/handle_store.h"
#include "storage/journal.h"
#include "storage/resource_check.h"
#include "storage/resource_file.h"

namespace orvane {

namespace {

using nlohmann::json;
namespace se = platform::sys_error;

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

// --- Text: the command line speaks UTF-8, resource files Windows-1252 --------------------------

std::string to_windows1252(std::string_view utf8) { return platform::utf8_to_windows1252(utf8); }

std::string shown(std::string_view text) { return terminal_text(text); }

std::string utf8(std::string_view text) { return platform::windows1252_to_utf8(text); }

FourCC type_of(const std::string& arg) {
  std::string t = to_windows1252(arg);
  t.resize(4, ' ');
  return FourCC::of(t);
}

std::string attribute_names(std::uint8_t a) {
  std::string out;
  auto add = [&](std::uint8_t bit, const char* name) {
    if (!(a & bit)) return;
    if (!out.empty()) out += ',';
    out += name;
  };
  add(rsrc::kResChanged, "changed");
  add(rsrc::kResPreload, "preload");
  add(rsrc::kResProtected, "protected");
  add(rsrc::kResPurgeable, "purgeable");
  return out;
}

std::string hex(unsigned v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02x", v);
  return text;
}

// --- Reporting --------------------------------------------------------------------------------------

class Reporter {
 public:
  explicit Reporter(bool json) : json_(json) {}
  bool json_mode() const { return json_; }

  int fail(const std::string& message) const {
    return report_failure("rsrc", json_, message);
  }
  void note(const std::string& message) {
    notes_.push_back(message);
    if (!json_) std::cerr << "note: " << message << '\n';
  }
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  bool json_;
  std::vector<std::string> notes_;
};

std::string system_message(int err) { return std::strerror(err); }

// --- Opening files ------------------------------------------------------------------------------------

void note_stale_journal(const std::string& path, const Recovery& r, Reporter& out) {
  if (r.outcome == RecoveryOutcome::stale)
    out.note("the journal beside the file belongs to a file it has since replaced; it was not applied and is kept as " +
             stale_journal_path_for(path));
}

// Rolls back an interrupted change; when the file cannot be written, the
// bytes are shown as that roll-back would leave them.
bool read_file(const std::string& path, Reporter& out, std::vector<std::uint8_t>& bytes) {
  Recovery r = recover_file(path);
  if (r.outcome == RecoveryOutcome::rolled_back) out.note("an interrupted change to the file was rolled back");
  if (r.outcome == RecoveryOutcome::busy) out.note("another program is changing the file right now");
  note_stale_journal(path, r, out);
  std::string content;
  if (int err = platform::read_whole_file(path, content)) {
    out.fail("cannot read " + path + ": " + system_message(err));
    return false;
  }
  bytes.assign(content.begin(), content.end());
  if (r.outcome == RecoveryOutcome::failed) {
    if (std::optional<ParsedJournal> parsed = read_journal_for(path)) {
      roll_back_in_memory(bytes, *parsed);
      out.note("the file holds an interrupted change that cannot be rolled back here; shown as it was before it");
    }
  }
  return true;
}

struct ReadOnly {
  std::unique_ptr<ResourceFile> file;
  std::vector<std::string> refusals;  // why the run-time would refuse it
};

std::optional<ReadOnly> open_for_reading(const std::string& path, Reporter& out) {
  std::vector<std::uint8_t> bytes;
  if (!read_file(path, out, bytes)) return std::nullopt;
  ReadOnly r;
  OpenDiagnostics diag;
  if (ResourceFile::open(std::make_unique<MemoryFile>(std::move(bytes), false), OpenOptions{.strict = false},
                         r.file, &diag) != ResError::none) {
    out.fail(path + " is not a resource file: " + diag.reason);
    return std::nullopt;
  }
  r.refusals = diag.strict_issues;
  if (!out.json_mode())
    for (const std::string& why : r.refusals) std::cerr << "warning: the run-time would refuse this file: " << why << '\n';
  return r;
}

std::unique_ptr<ResourceFile> open_for_writing(const std::string& path, Reporter& out) {
  std::unique_ptr<JournaledFile> storage;
  Recovery recovery;
  if (int err = JournaledFile::open(path, platform::OpenMode::read_write, storage, &recovery)) {
    out.fail("cannot open " + path + " for writing: " + system_message(err));
    return nullptr;
  }
  if (recovery.outcome == RecoveryOutcome::rolled_back) out.note("an interrupted change to the file was rolled back");
  note_stale_journal(path, recovery, out);
  std::unique_ptr<ResourceFile> file;
  OpenDiagnostics diag;
  if (ResourceFile::open(std::move(storage), OpenOptions{}, file, &diag) != ResError::none) {
    out.fail("the run-time refuses " + path + " (" + diag.reason + "); it is left unchanged");
    return nullptr;
  }
  return file;
}

// --- list ---------------------------------------------------------------------------------------------

int list_command(const std::string& path, Reporter& out) {
  auto opened = open_for_reading(path, out);
  if (!opened) return kFailed;
  const ResourceFile& file = *opened->file;
  const ResourceMap& map = file.map();
  json resources = json::array();
  std::vector<std::vector<std::string>> rows;
  map.for_each_entry([&](int t, EntryPos e) {
    FourCC type = map.type_at(t).type;
    std::int32_t size = file.stored_length(map.data_field(e));
    std::uint32_t data = map.data_field(e);
    resources.push_back({{"type", utf8(type.view())},
                         {"id", map.id(e)},
                         {"name", map.has_name(e) ? json(utf8(map.name(e))) : json(nullptr)},
                         {"attributes", map.attrs(e)},
                         {"flags", attribute_names(map.attrs(e))},
                         {"size", size},
                         {"data_offset", data == rsrc::kNoData ? json(nullptr) : json(data)}});
    rows.push_back({shown(type.view()), std::to_string(map.id(e)), size < 0 ? "-" : std::to_string(size),
                    hex(map.attrs(e)), attribute_names(map.attrs(e)),
                    map.has_name(e) ? "\"" + shown(map.name(e)) + "\"" : ""});
  });

  if (out.json_mode()) {
    json doc = {{"ok", true},
                {"file", path},
                {"file_type", utf8(file.file_type().view())},
                {"creator", utf8(file.creator().view())},
                {"file_attributes", map.attributes()},
                {"runtime_accepts", opened->refusals.empty()},
                {"refusals", opened->refusals},
                {"notes", out.notes()},
                {"types", map.type_count()},
                {"resources", resources}};
    std::cout << doc.dump(2) << '\n';
    return kOk;
  }
  std::cout << path << ": type '" << shown(file.file_type().view()) << "', creator '"
            << shown(file.creator().view()) << "', " << map.type_count() << " types, " << rows.size()
            << " resources\n";
  if (rows.empty()) return kOk;
  std::vector<std::string> head = {"Type", "ID", "Size", "Attrs", "Flags", "Name"};
  std::vector<std::size_t> width(head.size());
  for (std::size_t c = 0; c < head.size(); ++c) width[c] = head[c].size();
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  auto print = [&](const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      bool right = c == 1 || c == 2;
      std::string pad(width[c] - row[c].size(), ' ');
      line += right ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : "");
      if (c + 1 < row.size()) line += "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::cout << line << '\n';
  };
  print(head);
  for (const auto& row : rows) print(row);
  return kOk;
}

// --- extract ------------------------------------------------------------------------------------------

int write_output(const std::string& path, std::span<const std::uint8_t> data, Reporter& out) {
  if (path == "-") {
    std::cout.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    std::cout.flush();
    return std::cout ? kOk : out.fail("cannot write to standard output");
  }
  platform::File f;
  int err = platform::File::create(path, platform::CreateMode::replace, f);
  if (!err) err = f.write_at(0, data);
  if (err) return out.fail("cannot write " + path + ": " + system_message(err));
  return kOk;
}

std::string file_name_for(FourCC type, std::int16_t id) {
  std::string name;
  for (char c : type.view()) {
    auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) && b < 0x80) {
      name += c;
    } else {
      char esc[4];
      std::snprintf(esc, sizeof esc, "%%%02X", b);
      name += esc;
    }
  }
  return name + "_" + std::to_string(id) + ".bin";
}

// "PICT" data drawn by the picture player and written as PNG (--png).
bool is_picture_type(FourCC type) { return type.view() == "PICT"; }

int write_picture_png(std::span<const std::uint8_t> data, const std::string& target,
                      const graphics::PlaybackOptions& options, Reporter& out) {
  graphics::RenderedPicture picture =
      graphics::render_picture(graphics::picture_data_of(data), std::nullopt, raster::colors::white, options);
  if (!picture.surface) return out.fail("not a picture: " + picture.error);
  std::string error;
  std::string path = target == "-" ? "/dev/stdout" : target;
  if (!raster::write_png(*picture.surface, path, &error)) return out.fail("cannot write " + target + ": " + error);
  return kOk;
}

int extract_command(const std::string& path, const std::string& type_arg, std::optional<int> id,
                    const std::string& output, const std::string& all_dir, bool as_png,
                    const graphics::PlaybackOptions& options, Reporter& out) {
  auto opened = open_for_reading(path, out);
  if (!opened) return kFailed;
  const ResourceFile& file = *opened->file;
  const ResourceMap& map = file.map();

  if (!all_dir.empty()) {
    if (int err = platform::create_directory(all_dir)) return out.fail("cannot create " + all_dir + ": " + system_message(err));
    json written = json::array();
    int failures = 0;
    map.for_each_entry([&](int t, EntryPos e) {
      FourCC type = map.type_at(t).type;
      std::string target = all_dir + "/" + file_name_for(type, map.id(e));
      bool picture = as_png && is_picture_type(type);
      if (picture) target.replace(target.size() - 4, 4, ".png");
      ResError err = ResError::none;
      auto data = file.read_data(e, &err);
      if (!data) {
        if (map.data_field(e) == rsrc::kNoData) data.emplace();
        else {
          ++failures;
          std::cerr << "orvane rsrc: '" << shown(type.view()) << "' " << map.id(e) << ": the data cannot be read\n";
          return;
        }
      }
      int status = picture ? write_picture_png(*data, target, options, out) : write_output(target, *data, out);
      if (status != kOk) {
        ++failures;
        return;
      }
      written.push_back({{"type", utf8(type.view())}, {"id", map.id(e)}, {"path", target}, {"size", data->size()}});
    });
    if (out.json_mode()) std::cout << json{{"ok", failures == 0}, {"written", written}}.dump(2) << '\n';
    else std::cout << written.size() << " resources written to " << all_dir << '\n';
    return failures == 0 ? kOk : kFailed;
  }

  FourCC type = type_of(type_arg);
  auto e = map.find_id(type, static_cast<std::int16_t>(*id));
  if (!e) return out.fail("no resource '" + shown(type.view()) + "' " + std::to_string(*id) + " in " + path);
  ResError err = ResError::none;
  auto data = file.read_data(*e, &err);
  if (!data) {
    if (map.data_field(*e) != rsrc::kNoData)
      return out.fail("the data of '" + shown(type.view()) + "' " + std::to_string(*id) + " cannot be read");
    data.emplace();
  }
  std::string target = output.empty() ? "-" : output;
  if (as_png && !is_picture_type(type)) return out.fail("--png converts \"PICT\" resources only");
  int status = as_png ? write_picture_png(*data, target, options, out) : write_output(target, *data, out);
  if (status) return status;
  if (target != "-" && out.json_mode()) std::cout << json{{"ok", true}, {"path", target}, {"size", data->size()}}.dump(2) << '\n';
  return kOk;
}

// --- add, rm, new --------------------------------------------------------------------------------------

int finish_update(ResourceFile& file, MemoryHandleStore& store, const std::string& path, Reporter& out,
                  const json& done) {
  ResError err = file.update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
    if (!store.is_live(h)) return std::nullopt;
    return std::span<const std::uint8_t>(store.bytes(h));
  });
  if (err != ResError::none) {
    return out.fail("writing " + path + " failed (error " + std::to_string(code_of(err)) + "); the file is unchanged");
  }
  if (out.json_mode()) std::cout << done.dump(2) << '\n';
  return kOk;
}

int add_command(const std::string& path, const std::string& type_arg, int id, const std::string& data_path,
                const std::optional<std::string>& name_arg, std::optional<int> attrs, bool replace, Reporter& out) {
  std::string content;
  if (data_path == "-") {
    content.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else if (int err = platform::read_whole_file(data_path, content)) {
    return out.fail("cannot read " + data_path + ": " + system_message(err));
  }
  auto file = open_for_writing(path, out);
  if (!file) return kFailed;
  ResourceMap& map = file->map();
  FourCC type = type_of(type_arg);
  const auto rid = static_cast<std::int16_t>(id);
  std::string name = name_arg ? to_windows1252(*name_arg) : std::string();

  MemoryHandleStore store;
  std::uint32_t h = store.create();
  store.resize(h, static_cast<std::uint32_t>(content.size()));
  std::memcpy(store.bytes(h).data(), content.data(), content.size());

  std::optional<EntryPos> e = map.find_id(type, rid);
  if (e) {
    if (!replace) return out.fail("'" + shown(type.view()) + "' " + std::to_string(id) + " exists already (--replace replaces it)");
    if (map.attrs(*e) & rsrc::kResProtected) return out.fail("'" + shown(type.view()) + "' " + std::to_string(id) + " is protected");
    if (name_arg && map.set_info(*e, rid, name) != ResError::none) return out.fail("the map is full");
  } else {
    EntryPos added = 0;
    if (map.add(type, rid, name, h, &added) != ResError::none) return out.fail("the map is full");
    e = added;
  }
  map.set_handle(*e, h);
  std::uint8_t a = attrs ? static_cast<std::uint8_t>(*attrs) : map.attrs(*e);
  map.set_attrs(*e, a | rsrc::kResChanged);
  map.set_attributes(map.attributes() | rsrc::kMapChanged);
  return finish_update(*file, store, path, out,
                       {{"ok", true}, {"type", utf8(type.view())}, {"id", id}, {"size", content.size()}});
}

int rm_command(const std::string& path, const std::string& type_arg, int id, Reporter& out) {
  auto file = open_for_writing(path, out);
  if (!file) return kFailed;
  ResourceMap& map = file->map();
  FourCC type = type_of(type_arg);
  auto e = map.find_id(type, static_cast<std::int16_t>(id));
  if (!e) return out.fail("no resource '" + shown(type.view()) + "' " + std::to_string(id) + " in " + path);
  if (map.attrs(*e) & rsrc::kResProtected)
    return out.fail("'" + shown(type.view()) + "' " + std::to_string(id) + " is protected");
  map.remove(*e);
  MemoryHandleStore store;
  return finish_update(*file, store, path, out, {{"ok", true}, {"removed", {{"type", utf8(type.view())}, {"id", id}}}});
}

int new_command(const std::string& path, const std::string& type, const std::string& creator, Reporter& out) {
  ResError err = ResourceFile::create(path, type_of(creator), type_of(type));
  if (err == ResError::exists) return out.fail(path + " exists already");
  if (err == ResError::permission) return out.fail("no permission to create " + path);
  if (err != ResError::none) return out.fail("cannot create " + path + " (error " + std::to_string(code_of(err)) + ")");
  if (out.json_mode()) std::cout << json{{"ok", true}, {"path", path}}.dump(2) << '\n';
  return kOk;
}

// --- check ------------------------------------------------------------------------------------------------

int check_command(const std::string& path, Reporter& out) {
  std::vector<std::uint8_t> bytes;
  if (!read_file(path, out, bytes)) return kFailed;
  CheckReport report = check_resource_file(bytes);
  if (out.json_mode()) {
    json findings = json::array();
    for (const Finding& f : report.findings)
      findings.push_back({{"severity", severity_name(f.severity)}, {"offset", f.offset}, {"message", utf8(f.message)}});
    std::cout << json{{"ok", !report.has_errors()},
                      {"file", path},
                      {"runtime_accepts", report.runtime_accepts},
                      {"types", report.types},
                      {"resources", report.resources},
                      {"notes", out.notes()},
                      {"findings", findings}}
                     .dump(2)
              << '\n';
  } else {
    for (const Finding& f : report.findings)
      std::cout << path << ":" << f.offset << ": " << severity_name(f.severity) << ": " << shown(f.message) << '\n';
    std::cout << path << ": " << report.types << " types, " << report.resources << " resources; "
              << (report.runtime_accepts ? "the run-time opens it" : "the run-time refuses it") << '\n';
  }
  return report.has_errors() ? kFailed : kOk;
}

// --- The command line -----------------------------------------------------------------------------------

std::string type_check(const std::string& s) {
  std::string t = to_windows1252(s);
  return t.empty() || t.size() > 4 ? "a type has 1 to 4 characters" : "";
}

}  // namespace

int rsrc_main(int argc, char** argv) {
  CLI::App app{"Inspect and edit resource files.", "orvane rsrc"};
  app.require_subcommand(1, 1);
  bool json_output = false;
  app.add_flag("--json", json_output, "Print JSON for scripts instead of text");
  app.fallthrough();

  std::string file, type, data_path, output, all_dir, new_type = "rsrc", new_creator = "?\?\?\?";
  int id = 0;
  std::optional<std::string> name;
  std::optional<int> attrs;
  std::optional<int> extract_id;
  bool replace = false;

  auto* list = app.add_subcommand("list", "List the resources of a file");
  list->add_option("FILE", file, "Resource file")->required();

  auto* extract = app.add_subcommand("extract", "Write the data of a resource (or of all) to files");
  extract->add_option("FILE", file, "Resource file")->required();
  extract->add_option("TYPE", type, "Resource type (1 to 4 characters)")->check(type_check);
  extract->add_option("ID", extract_id, "Resource id")->check(CLI::Range(-32768, 32767));
  extract->add_option("-o,--output", output, "Output file (standard output when omitted)");
  extract->add_option("--all", all_dir, "Write every resource into this directory as TYPE_ID.bin");
  bool as_png = false;
  extract->add_flag("--png", as_png, "Draw \"PICT\" resources and write them as PNG images");
  graphics::PlaybackOptions picture_options;
  extract->add_flag("--complete", picture_options.complete,
                    "With --png, draw whole pictures: also text, pixel patterns, regions and QuickTime JPEG images");

  auto* add = app.add_subcommand("add", "Add a resource, or replace one with --replace");
  add->add_option("FILE", file, "Resource file")->required();
  add->add_option("TYPE", type, "Resource type (1 to 4 characters)")->required()->check(type_check);
  add->add_option("ID", id, "Resource id")->required()->check(CLI::Range(-32768, 32767));
  add->add_option("DATA", data_path, "File holding the data (- for standard input)")->required();
  add->add_option("--name", name, "Resource name (at most 255 characters)")
      ->check([](const std::string& s) { return to_windows1252(s).size() > 255 ? "a name has at most 255 characters" : ""; });
  add->add_option("--attrs", attrs, "Resource attribute byte")->check(CLI::Range(0, 255));
  add->add_flag("--replace", replace, "Replace an existing resource of that type and id");

  auto* rm = app.add_subcommand("rm", "Remove a resource");
  rm->add_option("FILE", file, "Resource file")->required();
  rm->add_option("TYPE", type, "Resource type (1 to 4 characters)")->required()->check(type_check);
  rm->add_option("ID", id, "Resource id")->required()->check(CLI::Range(-32768, 32767));

  auto* make = app.add_subcommand("new", "Create an empty resource file");
  make->add_option("FILE", file, "File to create")->required();
  make->add_option("--type", new_type, "File type (default rsrc)")->check(type_check);
  make->add_option("--creator", new_creator, "File creator (default ?\?\?\?)")->check(type_check);

  auto* check = app.add_subcommand("check", "Report every inconsistency of a file with its byte offset");
  check->add_option("FILE", file, "Resource file")->required();

  try {
    app.parse(argc, argv);
    if (extract->parsed() && all_dir.empty() && (type.empty() || !extract_id))
      throw CLI::ValidationError("extract", "give TYPE and ID, or --all DIR");
    if (extract->parsed() && !all_dir.empty() && (!type.empty() || extract_id))
      throw CLI::ValidationError("extract", "give either TYPE and ID or --all DIR");
    if (extract->parsed() && picture_options.complete && !as_png)
      throw CLI::ValidationError("extract", "--complete draws pictures: give it with --png");
  } catch (const CLI::ParseError& e) {
    int status = app.exit(e);
    return status == 0 ? kOk : kBadUsage;
  }

  Reporter out(json_output);
  if (list->parsed()) return list_command(file, out);
  if (extract->parsed()) return extract_command(file, type, extract_id, output, all_dir, as_png, picture_options, out);
  if (add->parsed()) return add_command(file, type, id, data_path, name, attrs, replace, out);
  if (rm->parsed()) return rm_command(file, type, id, out);
  if (make->parsed()) return new_command(file, new_type, new_creator, out);
  if (check->parsed()) return check_command(file, out);
  return kBadUsage;
}

}  // namespace orvane
