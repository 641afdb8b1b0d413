#include "shell/title_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "graphics/pict_encoder.h"
#include "platform/backends/text_crossing.h"
#include "platform/byte_writer.h"
#include "platform/file_io.h"
#include "platform/host_files.h"
#include "platform/raster/png_io.h"
#include "platform/text.h"
#include "reader/compact_encoder.h"
#include "shell/source_check.h"
#include "shell/title_manifest.h"
#include "storage/handle_store.h"
#include "storage/random_access.h"
#include "storage/resource_file.h"

namespace orvane::shell {

namespace fs = std::filesystem;

namespace {

constexpr std::int16_t kFirstSplashPicture = 501;
constexpr int kCursorSide = 16;
constexpr std::size_t kMaxListItems = 0x7FFF;
constexpr std::size_t kMaxLoads = 0x7FFF;
constexpr int kWorldSearchDepth = 4;

std::vector<std::uint8_t> bytes_of(std::string_view text) { return {text.begin(), text.end()}; }

// The folder's own name, also when the path ends with a separator.
std::string folder_name(const std::string& folder) {
  fs::path path = fs::absolute(folder).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  return path.filename().string();
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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
    auto converted = platform::backends::utf8_to_windows1252_exact(text.substr(at, end - at), &problem);
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
    std::string manifest_text;
    const std::string manifest_path = path_of(std::string(kManifestName));
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
    result_.errors.push_back(path_of(std::string(kManifestName)) + ":" + std::to_string(line) + ": " + what);
  }
  std::string path_of(const std::string& relative) const { return (fs::path(folder_) / relative).string(); }

  void add(std::string type, std::int16_t id, std::vector<std::uint8_t> data) {
    title_.resources.push_back({std::move(type), id, std::move(data)});
  }
  void progress(const std::string& step) {
    if (options_.progress && input_bytes_ > options_.progress_above) options_.progress(step);
  }

  // The file's bytes, or an error on the manifest's line.
  std::optional<std::string> read(int line, const std::string& relative) {
    std::string text;
    const std::string path = path_of(relative);
    if (!platform::file_exists(path)) {
      error(line, "no file " + relative + " in the folder");
      return std::nullopt;
    }
    if (platform::read_whole_file(path, text) != 0) {
      error(line, "cannot read " + relative);
      return std::nullopt;
    }
    return text;
  }

  void measure_inputs() {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder_, ec))
      if (entry.is_regular_file(ec)) input_bytes_ += entry.file_size(ec);
  }

  void preferences() {
    const raster::IntSize size = m_.size.value_or(raster::IntSize{640, 480});
    ByteWriter pref;
    pref.u16be(0);
    pref.u8(m_.flags);
    pref.u8(static_cast<std::uint8_t>(m_.language.value_or(0)));
    pref.u16be(static_cast<std::uint16_t>(size.width));
    pref.u16be(static_cast<std::uint16_t>(size.height));
    add("PREF", 257, pref.take());
    // The caption is always written: a title played from a folder and the
    // packed file then show the same one, whatever the file is called.
    std::string caption =
        m_.caption.value_or(platform::backends::utf8_to_windows1252_exact(folder_name(folder_), nullptr).value_or("Orvane"));
    caption.resize(std::min<std::size_t>(caption.size(), 255));
    std::vector<std::uint8_t> counted{static_cast<std::uint8_t>(caption.size())};
    counted.insert(counted.end(), caption.begin(), caption.end());
    add("PREF", 258, std::move(counted));
    if (m_.memory) {
      const MemoryConfig& c = *m_.memory;
      ByteWriter vprf;
      for (std::uint32_t v : {c.symbols, c.lisp_stack, c.prolog_stack, c.nodes, c.heap, c.reserve, c.native_stack,
                              c.node_share, c.reserve_share})
        vprf.u32be(v);
      add("VPRF", 256, vprf.take());
      ByteWriter size_resource;
      size_resource.u16be(0);
      size_resource.u32be(static_cast<std::uint32_t>(c.total));  // preferred
      size_resource.u32be(static_cast<std::uint32_t>(c.total));  // minimum
      add("SIZE", -1, size_resource.take());
    }
  }

  // The world's files from its ORDER list, as sources.
  void world_sources(std::vector<LispSource>& sources) {
    std::optional<std::string> world;
    if (m_.world == WorldChoice::folder) {
      world = path_of(m_.world_folder);
      if (!platform::file_exists((fs::path(*world) / "ORDER").string())) {
        error(world_line(), "the world folder " + m_.world_folder + " has no ORDER list");
        return;
      }
    } else if (m_.world != WorldChoice::omit) {
      world = find_standard_world();
      if (!world && m_.world == WorldChoice::include) {
        error(world_line(), "the standard world cannot be found (a world/ORDER beside the binary or above it)");
        return;
      }
    }
    if (!world) return;
    const std::string order_path = (fs::path(*world) / "ORDER").string();
    std::string order;
    if (platform::read_whole_file(order_path, order) != 0) {
      result_.errors.push_back(order_path + ": cannot read");
      return;
    }
    int line = 0;
    std::size_t at = 0;
    while (at < order.size()) {
      std::size_t end = std::min(order.find('\n', at), order.size());
      std::string name = order.substr(at, end - at);
      at = end + 1;
      ++line;
      name.erase(std::min(name.find('#'), name.size()));
      while (!name.empty() && (name.back() == ' ' || name.back() == '\r' || name.back() == '\t')) name.pop_back();
      while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.erase(0, 1);
      if (name.empty()) continue;
      const std::string path = (fs::path(*world) / name).string();
      LispSource source{path, {}};
      if (platform::read_whole_file(path, source.text) != 0) {
        result_.errors.push_back(order_path + ":" + std::to_string(line) + ": no file " + name + " in the world");
        continue;
      }
      sources.push_back(std::move(source));
    }
  }
  int world_line() const { return std::max(m_.world_line, 1); }

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
    if (sources.empty() && result_.errors.empty()) {
      error(1, "there is no Lisp source (give \"source FILE\", or a world)");
      return;
    }
    if (sources.size() > kMaxLoads) {
      error(1, "more Lisp files than \"Load\" ids (32767)");
      return;
    }
    if (!result_.errors.empty()) return;
    progress("checking " + std::to_string(sources.size()) + " Lisp file" + (sources.size() == 1 ? "" : "s"));
    for (const SourceProblem& problem : check_sources(sources)) result_.errors.push_back(problem.describe());
    if (!result_.errors.empty()) return;
    for (const LispSource& s : sources) title_.loaded.push_back(s.name);
    if (!options_.compact) {
      for (std::size_t i = 0; i < sources.size(); ++i)
        add("Load", static_cast<std::int16_t>(i), bytes_of(sources[i].text));
      return;
    }
    progress("encoding the code compactly");
    std::vector<std::string> texts;
    for (const LispSource& s : sources) texts.push_back(s.text);
    try {
      CompactCode compact = encode_compact(texts);
      add("SYMB", 0, std::move(compact.symbol_table));
      for (std::size_t i = 0; i < compact.sources.size(); ++i)
        add("Load", static_cast<std::int16_t>(i), bytes_of(compact.sources[i]));
    } catch (const CompactEncodingError& e) {
      result_.errors.push_back(sources[e.source()].name + ":" + std::to_string(e.line()) + ": " + e.what());
    }
  }

  std::optional<std::vector<std::uint8_t>> picture(int line, const std::string& file) {
    if (!platform::file_exists(path_of(file))) {
      error(line, "no file " + file + " in the folder");
      return std::nullopt;
    }
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
    std::size_t done = 0, total = m_.splash.size() + m_.pictures.size();
    auto step = [&](const std::string& file) {
      progress("picture " + std::to_string(++done) + " of " + std::to_string(total) + ": " + file);
    };
    for (std::size_t i = 0; i < m_.splash.size(); ++i) {
      const SplashEntry& e = m_.splash[i];
      step(e.file);
      const auto id = static_cast<std::int16_t>(kFirstSplashPicture + i);
      if (auto pict = picture(e.line, e.file)) add("PICT", id, std::move(*pict));
      if (e.ticks) add("wait", id, {static_cast<std::uint8_t>(*e.ticks >> 8), static_cast<std::uint8_t>(*e.ticks)});
    }
    for (const IdFileEntry& e : m_.pictures) {
      step(e.file);
      if (auto pict = picture(e.line, e.file)) add("PICT", e.id, std::move(*pict));
    }
  }

  // "CURS": 16 rows of image bits, 16 rows of mask bits, the hot spot (v, h).
  // Opaque pixels (alpha from 128) are in the mask; dark ones in the image.
  void cursors() {
    for (const CursorEntry& e : m_.cursors) {
      if (!platform::file_exists(path_of(e.file))) {
        error(e.line, "no file " + e.file + " in the folder");
        continue;
      }
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
      std::array<std::uint16_t, kCursorSide> data{}, mask{};
      for (int y = 0; y < kCursorSide; ++y)
        for (int x = 0; x < kCursorSide; ++x) {
          const std::uint8_t* p = &image->rgba[4 * static_cast<std::size_t>(y * kCursorSide + x)];
          if (p[3] < 128) continue;
          const auto bit = static_cast<std::uint16_t>(0x8000u >> x);
          mask[y] |= bit;
          if (p[0] * 299 + p[1] * 587 + p[2] * 114 < 128 * 1000) data[y] |= bit;
        }
      ByteWriter out;
      for (std::uint16_t row : data) out.u16be(row);
      for (std::uint16_t row : mask) out.u16be(row);
      out.u16be(static_cast<std::uint16_t>(e.hot_y));
      out.u16be(static_cast<std::uint16_t>(e.hot_x));
      add("CURS", e.id, out.take());
    }
  }

  void lists() {
    for (const IdFileEntry& e : m_.strings) {
      auto text = read(e.line, e.file);
      if (!text) continue;
      std::vector<std::string> items;
      std::size_t at = 0;
      while (at < text->size()) {
        std::size_t end = std::min(text->find('\n', at), text->size());
        std::string item = text->substr(at, end - at);
        if (!item.empty() && item.back() == '\r') item.pop_back();
        items.push_back(std::move(item));
        at = end + 1;
      }
      ByteWriter out;
      out.u16be(static_cast<std::uint16_t>(std::min(items.size(), kMaxListItems)));
      bool ok = items.size() <= kMaxListItems;
      if (!ok) error(e.line, e.file + " holds more than 32767 strings");
      for (std::size_t i = 0; ok && i < items.size(); ++i) {
        std::string why;
        auto converted = platform::backends::utf8_to_windows1252_exact(items[i], &why);
        if (!converted || converted->size() > 255) {
          error(e.line, e.file + ":" + std::to_string(i + 1) + ": " +
                            (converted ? "a string is longer than 255 characters" : why));
          ok = false;
          break;
        }
        out.u8(static_cast<std::uint8_t>(converted->size()));
        out.text(*converted);
      }
      if (ok) add("STR#", e.id, out.take());
    }
    for (const PatternsEntry& e : m_.patterns) {
      ByteWriter out;
      out.u16be(static_cast<std::uint16_t>(e.patterns.size()));
      for (const auto& pattern : e.patterns) out.bytes(pattern);
      add("PAT#", e.id, out.take());
    }
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

std::optional<std::vector<std::uint8_t>> title_file_image(std::span<const TitleResource> resources,
                                                          const std::string& file_name, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<std::vector<std::uint8_t>> {
    if (error) *error = why;
    return std::nullopt;
  };
  auto storage = std::make_unique<MemoryFile>(
      ResourceFile::empty_file_image(file_name, FourCC::of("ORVN"), FourCC::of("rsrc")));
  MemoryFile* image = storage.get();
  std::unique_ptr<ResourceFile> file;
  if (ResourceFile::open(std::move(storage), OpenOptions{}, file) != ResError::none)
    return fail("cannot make an empty resource file");
  MemoryHandleStore store;
  ResourceMap& map = file->map();
  for (const TitleResource& r : resources) {
    std::uint32_t h = store.create();
    if (!store.resize(h, static_cast<std::uint32_t>(r.data.size()))) return fail("out of memory");
    std::copy(r.data.begin(), r.data.end(), store.bytes(h).begin());
    EntryPos e = 0;
    if (map.add(FourCC::of(r.type), r.id, "", h, &e) != ResError::none)
      return fail("the resource map is full (too many resources or types)");
    map.set_handle(e, h);
    map.set_attrs(e, map.attrs(e) | rsrc::kResChanged);
  }
  map.set_attributes(map.attributes() | rsrc::kMapChanged);
  ResError written = file->update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
    if (!store.is_live(h)) return std::nullopt;
    return std::span<const std::uint8_t>(store.bytes(h));
  });
  if (written != ResError::none) return fail("the resources do not fit in a resource file");
  return image->bytes();
}

bool write_title_file(std::span<const TitleResource> resources, const std::string& path, std::string* error) {
  auto image = title_file_image(resources, fs::path(path).filename().string(), error);
  if (!image) return false;
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    out.close();
    if (!out) {
      platform::remove_file(partial);
      if (error) *error = "cannot write " + partial;
      return false;
    }
  }
  if (platform::rename_file(partial, path) != 0) {
    platform::remove_file(partial);
    if (error) *error = "cannot replace " + path;
    return false;
  }
  return true;
}

std::optional<std::string> find_standard_world() {
  fs::path binary = fs::path(platform::executable_path()).parent_path();
  std::vector<fs::path> candidates{binary / ".." / "share" / "orvane" / "world"};
  fs::path above = binary;
  for (int i = 0; i < kWorldSearchDepth && !above.empty(); ++i, above = above.parent_path())
    candidates.push_back(above / "world");
  for (const fs::path& candidate : candidates)
    if (platform::file_exists((candidate / "ORDER").string())) return candidate.lexically_normal().string();
  return std::nullopt;
}

bool is_title_folder(const std::string& path) {
  return platform::directory_exists(path) && platform::file_exists((fs::path(path) / kManifestName).string());
}

std::string default_title_file_name(const std::string& folder) { return folder_name(folder) + ".RI"; }

}  // namespace orvane::shell
