#include "shell/title_folder.h"

#include <algorithm>
#include <filesystem>

#include "graphics/pict_encoder.h"
#include "platform/backends/text_crossing.h"
#include "platform/file_io.h"
#include "platform/raster/png_io.h"
#include "platform/text.h"
#include "reader/compact_encoder.h"
#include "shell/source_check.h"
#include "shell/standard_world.h"
#include "shell/title_manifest.h"
#include "shell/title_resources.h"

namespace orvane::shell {

namespace fs = std::filesystem;

namespace {

constexpr std::int16_t kFirstSplashPicture = 501;
constexpr raster::IntSize kDefaultClient{640, 480};
constexpr std::size_t kMaxListItems = 0x7FFF;
constexpr std::size_t kMaxLoads = 0x7FFF;
constexpr std::size_t kMaxCounted = 255;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

Bytes bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

// The folder's own name, also when the path ends with a separator.
std::string folder_name(const std::string& folder) {
  fs::path path = fs::absolute(folder).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  return path.filename().string();
}

std::optional<std::string> windows1252(std::string_view utf8, std::string* problem) {
  return platform::backends::utf8_to_windows1252_exact(utf8, problem);
}

// The run-time's text is Windows-1252: a source in UTF-8 with characters
// past ASCII is converted line by line; any other is kept as written. A
// UTF-8 byte-order mark is dropped.
std::optional<std::string> runtime_text(const std::string& name, std::string_view text, std::string& error) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii || !platform::is_valid_utf8(text)) return std::string(text);
  std::string out;
  int line = 1;
  for (std::size_t at = 0; at <= text.size(); ++line) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string problem;
    auto converted = windows1252(text.substr(at, end - at), &problem);
    if (!converted) {
      error = name + ":" + std::to_string(line) + ": " + problem;
      return std::nullopt;
    }
    out += *converted;
    if (end < text.size()) out += '\n';
    at = end + 1;
  }
  return out;
}

// Collects the resources and the problems of one build.
class FolderBuilder {
 public:
  FolderBuilder(const std::string& folder, const BuildOptions& options) : folder_(folder), options_(options) {}

  TitleBuild run() {
    const std::string manifest_path = path_of(std::string(kManifestName));
    std::string manifest_text;
    if (!platform::directory_exists(folder_)) return failed(folder_ + ": no such folder");
    if (platform::read_whole_file(manifest_path, manifest_text) != 0)
      return failed(manifest_path + ": the folder has no manifest (" + std::string(kManifestName) + ")");
    ManifestRead read = parse_manifest(manifest_text, manifest_path);
    if (!read.errors.empty()) {
      result_.errors = std::move(read.errors);
      return std::move(result_);
    }
    m_ = std::move(read.manifest);
    measure_inputs();
    preferences();
    code();
    pictures();
    cursors();
    lists();
    raw();
    if (result_.errors.empty()) result_.title = std::move(title_);
    return std::move(result_);
  }

 private:
  TitleBuild failed(std::string error) {
    result_.errors.push_back(std::move(error));
    return std::move(result_);
  }
  void error(int line, const std::string& what) {
    result_.errors.push_back(path_of(std::string(kManifestName)) + ":" + std::to_string(std::max(line, 1)) + ": " +
                             what);
  }
  std::string path_of(const std::string& relative) const { return (fs::path(folder_) / relative).string(); }

  void add(std::string type, std::int16_t id, Bytes data) {
    title_.resources.push_back({std::move(type), id, std::move(data)});
  }
  void progress(const std::string& step) {
    if (options_.progress && input_bytes_ > options_.progress_above) options_.progress(step);
  }

  // Whether the folder holds the file; an error on the manifest's line if not.
  bool present(int line, const std::string& relative) {
    if (platform::file_exists(path_of(relative))) return true;
    error(line, "no file " + relative + " in the folder");
    return false;
  }

  std::optional<std::string> read(int line, const std::string& relative) {
    if (!present(line, relative)) return std::nullopt;
    std::string text;
    if (platform::read_whole_file(path_of(relative), text) == 0) return text;
    error(line, "cannot read " + relative);
    return std::nullopt;
  }

  void measure_inputs() {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder_, ec))
      if (entry.is_regular_file(ec)) input_bytes_ += entry.file_size(ec);
  }

  void preferences() {
    add("PREF", 257, preferences_resource(m_.flags, m_.language.value_or(0), m_.size.value_or(kDefaultClient)));
    // The caption is always written: a title played from a folder and the
    // packed file then show the same one, whatever the file is called.
    add("PREF", 258, caption_resource(m_.caption.value_or(windows1252(folder_name(folder_), nullptr).value_or("Orvane"))));
    if (m_.memory) {
      add("VPRF", 256, memory_resource(*m_.memory));
      add("SIZE", -1, size_resource(*m_.memory));
    }
  }

  // The world's files, first among the sources.
  void world_sources(std::vector<LispSource>& sources) {
    std::optional<std::string> world;
    if (m_.world == WorldChoice::folder) {
      world = path_of(m_.world_folder);
      if (!platform::file_exists((fs::path(*world) / kWorldOrder).string())) {
        error(m_.world_line, "the world folder " + m_.world_folder + " has no ORDER list");
        return;
      }
    } else if (m_.world != WorldChoice::omit) {
      world = find_standard_world();
      if (!world && m_.world == WorldChoice::include) {
        error(m_.world_line, "the standard world cannot be found (a world/ORDER beside the binary or above it)");
        return;
      }
    }
    if (!world) return;
    WorldFiles files = world_files(*world);
    result_.errors.insert(result_.errors.end(), files.errors.begin(), files.errors.end());
    for (const std::string& path : files.paths) {
      LispSource source{path, {}};
      if (platform::read_whole_file(path, source.text) == 0) sources.push_back(std::move(source));
      else result_.errors.push_back(path + ": cannot read");
    }
  }

  void code() {
    std::vector<LispSource> sources;
    world_sources(sources);
    for (const FileEntry& e : m_.sources)
      if (auto text = read(e.line, e.file)) sources.push_back({path_of(e.file), std::move(*text)});
    for (LispSource& source : sources) {
      std::string problem;
      auto text = runtime_text(source.name, source.text, problem);
      if (text) source.text = std::move(*text);
      else result_.errors.push_back(problem);
    }
    if (!result_.errors.empty()) return;
    if (sources.empty()) return error(1, "there is no Lisp source (give \"source FILE\", or a world)");
    if (sources.size() > kMaxLoads) return error(1, "more Lisp files than \"Load\" ids (32767)");
    if (m_.check_sources) {
      progress("checking " + std::to_string(sources.size()) + " Lisp file" + (sources.size() == 1 ? "" : "s"));
      try {
        for (const SourceProblem& problem : check_sources(sources)) result_.errors.push_back(problem.describe());
      } catch (const std::exception& e) {
        result_.errors.push_back(std::string("the Lisp sources cannot be checked: ") + e.what() +
                                 " (\"check no\" packs them unchecked)");
      }
      if (!result_.errors.empty()) return;
    }
    for (const LispSource& s : sources) title_.loaded.push_back(s.name);
    std::vector<std::string> texts;
    for (LispSource& s : sources) texts.push_back(std::move(s.text));
    if (options_.compact) {
      progress("encoding the code compactly");
      try {
        CompactCode compact = encode_compact(texts);
        add("SYMB", 0, std::move(compact.symbol_table));
        texts = std::move(compact.sources);
      } catch (const CompactEncodingError& e) {
        result_.errors.push_back(sources[e.source()].name + ":" + std::to_string(e.line()) + ": " + e.what());
        return;
      }
    }
    for (std::size_t i = 0; i < texts.size(); ++i) add("Load", static_cast<std::int16_t>(i), bytes_of(texts[i]));
  }

  std::optional<Bytes> picture(int line, const std::string& file) {
    if (!present(line, file)) return std::nullopt;
    std::string why;
    auto image = raster::read_png(path_of(file), &why);
    if (!image) {
      error(line, file + " is not a readable PNG image (" + why + ")");
      return std::nullopt;
    }
    auto pict = graphics::encode_pict(*image, &why);
    if (!pict) {
      error(line, file + ": " + why);
      return std::nullopt;
    }
    return std::move(pict->data);
  }

  void pictures() {
    std::size_t done = 0;
    const std::size_t total = m_.splash.size() + m_.pictures.size();
    auto step = [&](const std::string& file) {
      progress("picture " + std::to_string(++done) + " of " + std::to_string(total) + ": " + file);
    };
    for (std::size_t i = 0; i < m_.splash.size(); ++i) {
      const SplashEntry& e = m_.splash[i];
      step(e.file);
      const auto id = static_cast<std::int16_t>(kFirstSplashPicture + i);
      if (auto pict = picture(e.line, e.file)) add("PICT", id, std::move(*pict));
      if (e.ticks) add("wait", id, wait_resource(*e.ticks));
    }
    for (const IdFileEntry& e : m_.pictures) {
      step(e.file);
      if (auto pict = picture(e.line, e.file)) add("PICT", e.id, std::move(*pict));
    }
  }

  void cursors() {
    for (const CursorEntry& e : m_.cursors) {
      if (!present(e.line, e.file)) continue;
      std::string why;
      auto image = raster::read_png_rgba(path_of(e.file), &why);
      if (!image) {
        error(e.line, e.file + " is not a readable PNG image (" + why + ")");
        continue;
      }
      if (image->width != kCursorSide || image->height != kCursorSide) {
        error(e.line, e.file + " is " + std::to_string(image->width) + " x " + std::to_string(image->height) +
                          " pixels; a cursor is 16 x 16");
        continue;
      }
      add("CURS", e.id, cursor_resource(image->rgba, e.hot_x, e.hot_y));
    }
  }

  void lists() {
    for (const IdFileEntry& e : m_.strings)
      if (auto text = read(e.line, e.file))
        if (auto strings = string_list(e, *text)) add("STR#", e.id, string_list_resource(*strings));
    for (const PatternsEntry& e : m_.patterns) add("PAT#", e.id, pattern_list_resource(e.patterns));
  }

  // One string a line, in Windows-1252.
  std::optional<std::vector<std::string>> string_list(const IdFileEntry& e, std::string_view text) {
    std::vector<std::string_view> lines = text_lines(text);
    if (lines.size() > kMaxListItems) {
      error(e.line, e.file + " holds more than 32767 strings");
      return std::nullopt;
    }
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string why;
      auto converted = windows1252(lines[i], &why);
      if (converted && converted->size() > kMaxCounted) why = "a string is longer than 255 characters";
      if (!why.empty()) {
        error(e.line, e.file + ":" + std::to_string(i + 1) + ": " + why);
        return std::nullopt;
      }
      strings.push_back(std::move(*converted));
    }
    return strings;
  }

  void raw() {
    for (const RawEntry& e : m_.raw)
      if (auto bytes = read(e.line, e.file)) add(e.type, e.id, bytes_of(*bytes));
  }

  std::string folder_;
  const BuildOptions& options_;
  TitleManifest m_;
  BuiltTitle title_;
  TitleBuild result_;
  std::uint64_t input_bytes_ = 0;
};

}  // namespace

TitleBuild build_title_folder(const std::string& folder, const BuildOptions& options) {
  return FolderBuilder(folder, options).run();
}

std::string default_title_file_name(const std::string& folder) { return folder_name(folder) + ".RI"; }

}  // namespace orvane::shell
