#include "shell/title_summary.h"

#include <map>
#include <memory>

#include "graphics/picture.h"
#include "shell/title_manifest.h"
#include "storage/random_access.h"
#include "storage/resource_file.h"

namespace orvane::shell {

namespace {

constexpr std::int16_t kFirstSplashPicture = 501;

std::string picture_detail(std::span<const std::uint8_t> data) {
  graphics::PictureInfo info = graphics::inspect_picture(data);
  const char* kind = "not a picture";
  switch (info.kind) {
    case graphics::PictureKind::packed_bitmap: kind = "bitmap"; break;
    case graphics::PictureKind::pict1: kind = "PICT 1"; break;
    case graphics::PictureKind::pict2: kind = "PICT 2"; break;
    case graphics::PictureKind::unknown: return kind;
  }
  return std::string(kind) + ", " + std::to_string(info.frame.width()) + " x " + std::to_string(info.frame.height());
}

std::string with_thousands(std::uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

std::string line_of(const ResourceLine& r) {
  std::string text = "\"" + r.type + "\" " + std::to_string(r.id) + ": " + with_thousands(r.bytes) + " bytes";
  if (!r.detail.empty()) text += ", " + r.detail;
  return text;
}

}  // namespace

std::optional<TitleSummary> summarise_title(std::span<const std::uint8_t> bytes, const std::string& file_name,
                                            std::string* error) {
  std::unique_ptr<ResourceFile> file;
  OpenDiagnostics diagnostics;
  if (ResourceFile::open(std::make_unique<MemoryFile>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), false),
                         OpenOptions{}, file, &diagnostics) != ResError::none) {
    if (error) *error = "not a resource file: " + diagnostics.reason;
    return std::nullopt;
  }
  const ResourceMap& map = file->map();
  std::map<std::pair<std::string, std::int16_t>, std::vector<std::uint8_t>> all;
  map.for_each_entry([&](int, EntryPos e) {
    auto data = file->read_data(e);
    all[{map.type_at(map.type_index_of(e)).type.str(), map.id(e)}] = data.value_or(std::vector<std::uint8_t>{});
  });
  auto find = [&](const char* type, std::int16_t id) -> const std::vector<std::uint8_t>* {
    auto it = all.find({type, id});
    return it == all.end() ? nullptr : &it->second;
  };
  auto text_of = [](const std::vector<std::uint8_t>* data) -> std::optional<std::string> {
    if (!data) return std::nullopt;
    return std::string(data->begin(), data->end());
  };

  TitleSummary s;
  s.has_caption = find("PREF", 258) != nullptr;
  s.has_preferences = find("PREF", 257) != nullptr;
  s.preferences = parse_preferences(text_of(find("PREF", 257)), text_of(find("PREF", 258)), file_name);
  const auto* vprf = find("VPRF", 256);
  const auto* size = find("SIZE", -1);
  s.has_memory = vprf || size;
  try {
    s.preferences.memory = MemoryConfig::parse(vprf ? std::span<const std::uint8_t>(*vprf) : std::span<const std::uint8_t>{},
                                               size ? std::span<const std::uint8_t>(*size) : std::span<const std::uint8_t>{});
  } catch (const MemoryConfigError& e) {
    if (error) *error = e.what();
    return std::nullopt;
  }
  for (std::int16_t n = 0; const auto* load = find("Load", n); ++n) {
    ++s.loads;
    s.code_bytes += load->size();
    if (n == 0x7FFF) break;
  }
  if (const auto* symbols = find("SYMB", 0); symbols && symbols->size() >= 2)
    s.compact_symbols = std::size_t{(*symbols)[0]} << 8 | (*symbols)[1];
  // The splash sequence as start-up walks it: 501 on while a "wait" leads on.
  std::int16_t last_splash = kFirstSplashPicture - 1;
  for (std::int16_t id = kFirstSplashPicture; const auto* pict = find("PICT", id); ++id) {
    ResourceLine line{"PICT", id, pict->size(), picture_detail(*pict)};
    const auto* wait = find("wait", id);
    if (wait && wait->size() >= 2)
      line.detail += ", shown " + std::to_string((*wait)[0] << 8 | (*wait)[1]) + " ticks";
    s.splash.push_back(std::move(line));
    last_splash = id;
    if (!wait || !find("PICT", static_cast<std::int16_t>(id + 1))) break;
  }
  for (const auto& [key, data] : all) {
    const auto& [type, id] = key;
    const bool splash = (type == "PICT" || type == "wait") && id >= kFirstSplashPicture && id <= last_splash;
    const bool shown_above = type == "PREF" && (id == 257 || id == 258);
    const bool code = type == "Load" || (type == "SYMB" && id == 0);
    const bool memory = (type == "VPRF" && id == 256) || (type == "SIZE" && id == -1);
    if (splash || shown_above || memory || (code && id >= 0 && static_cast<std::size_t>(id) < s.loads) ||
        (type == "SYMB" && id == 0))
      continue;
    if (type == "PICT") s.pictures.push_back({type, id, data.size(), picture_detail(data)});
    else s.others.push_back({type, id, data.size(), {}});
  }
  return s;
}

std::string describe_title(const TitleSummary& s, const std::string& name) {
  const TitlePreferences& p = s.preferences;
  std::string out = name + "\n";
  auto row = [&](const std::string& label, const std::string& value) {
    out += "  " + label + std::string(label.size() < 10 ? 10 - label.size() : 1, ' ') + value + "\n";
  };
  row("caption", "\"" + p.caption + "\"" + (s.has_caption ? "" : " (no \"PREF\" 258: the file's name)"));
  row("size", std::to_string(p.client.width) + " x " + std::to_string(p.client.height) +
                  (s.has_preferences ? "" : " (no \"PREF\" 257: the default)"));
  std::string flags;
  for (const FlagName& f : start_flag_names())
    if (p.flags & f.bit) flags += (flags.empty() ? "" : " ") + std::string(f.name);
  std::uint8_t unnamed = p.flags;
  for (const FlagName& f : start_flag_names()) unnamed &= static_cast<std::uint8_t>(~f.bit);
  if (unnamed) flags += (flags.empty() ? "" : " ") + std::string("and bits ") + std::to_string(unnamed);
  row("flags", flags.empty() ? "none" : flags);
  row("language", std::string(language_name(p.language)));
  const MemoryConfig& m = p.memory;
  row("memory", (s.has_memory ? "" : "the defaults: ") + std::string("symbols ") + std::to_string(m.symbols) +
                    ", nodes " + std::to_string(m.nodes) + ", heap " + with_thousands(m.heap) + ", lisp-stack " +
                    std::to_string(m.lisp_stack) + ", prolog-stack " + std::to_string(m.prolog_stack) +
                    ", total " + with_thousands(m.total) + " bytes");
  std::string code = std::to_string(s.loads) + " \"Load\" resource" + (s.loads == 1 ? "" : "s") + ", " +
                     with_thousands(s.code_bytes) + " bytes";
  if (s.compact_symbols) code += ", compact (" + with_thousands(*s.compact_symbols) + " names in \"SYMB\" 0)";
  row("code", code);
  for (const ResourceLine& r : s.splash) row("splash", line_of(r));
  for (const ResourceLine& r : s.pictures) row("picture", line_of(r));
  for (const ResourceLine& r : s.others) row("other", line_of(r));
  return out;
}

}  // namespace orvane::shell
