#include "shell/title_manifest.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "platform/backends/text_crossing.h"
#include "shell/title_file.h"
#include "shell/title_resources.h"

namespace orvane::shell {

namespace {

constexpr FlagName kFlagNames[] = {
    {"menu-bar", start_flags::menu_bar},       {"borderless", start_flags::borderless_when_too_big},
    {"topmost", start_flags::topmost},         {"movies", start_flags::needs_movies},
    {"black-background", start_flags::black_client}, {"maximised", start_flags::maximised},
};
constexpr std::string_view kLanguages[] = {"english", "french", "spanish"};
constexpr std::size_t kMaxCaption = 255;
constexpr int kMaxClientSide = 32767;
constexpr int kFirstSplashPicture = 501;

// Thrown inside one line's parse; becomes "NAME:LINE: what".
struct LineError {
  std::string what;
};

std::vector<std::string> split_words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string w;
    if (c == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) throw LineError{"a quoted word is not closed"};
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        w.push_back(line[i]);
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w.push_back(line[i++]);
    }
    words.push_back(std::move(w));
  }
  return words;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// " (did you mean X?)" for the nearest of the names when it is near.
std::string suggestion(std::string_view word, std::span<const std::string_view> names) {
  std::string_view best;
  std::size_t best_distance = 3;
  for (std::string_view name : names) {
    std::size_t d = edit_distance(word, name);
    if (d < best_distance) {
      best = name;
      best_distance = d;
    }
  }
  return best.empty() ? std::string() : " (did you mean " + std::string(best) + "?)";
}

std::optional<long long> integer_of(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

class LineParser {
 public:
  explicit LineParser(const std::vector<std::string>& words) : words_(words) {}

  std::size_t count() const { return words_.size(); }
  const std::string& word(std::size_t i) const { return words_[i]; }

  void expect_count(std::size_t low, std::size_t high, std::string_view usage) const {
    if (words_.size() < low || words_.size() > high)
      throw LineError{"\"" + words_[0] + "\" wants " + std::string(usage)};
  }

  long long integer(std::size_t i, long long low, long long high, std::string_view what) const {
    auto value = integer_of(word(i));
    if (!value || *value < low || *value > high)
      throw LineError{std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not " + quoted(word(i))};
    return *value;
  }

  std::int16_t id(std::size_t i) const { return static_cast<std::int16_t>(integer(i, -32768, 32767, "a resource id")); }

 private:
  const std::vector<std::string>& words_;
};

// A size: digits with an optional K (1024) or M (1024 x 1024) suffix.
std::uint64_t memory_amount(const std::string& text) {
  std::uint64_t unit = 1;
  std::string_view digits = text;
  if (!digits.empty() && (digits.back() == 'K' || digits.back() == 'k')) unit = 1024;
  if (!digits.empty() && (digits.back() == 'M' || digits.back() == 'm')) unit = 1024 * 1024;
  if (unit != 1) digits.remove_suffix(1);
  auto value = integer_of(digits);
  if (!value || *value < 0 || static_cast<std::uint64_t>(*value) * unit > 0xFFFFFFFFull)
    throw LineError{"a memory amount is a whole number, with K or M after it if you like, up to 4G - 1, not " +
                    quoted(text)};
  return static_cast<std::uint64_t>(*value) * unit;
}

// Ticks: 120, 2s, 500ms.
std::uint16_t ticks_of(const std::string& text) {
  std::string_view digits = text;
  long long numerator = 1, denominator = 1;
  if (digits.ends_with("ms")) {
    digits.remove_suffix(2);
    numerator = 60;
    denominator = 1000;
  } else if (digits.ends_with("s")) {
    digits.remove_suffix(1);
    numerator = 60;
  }
  auto value = integer_of(digits);
  long long ticks = value ? *value * numerator / denominator : -1;
  if (ticks < 0 || ticks > 0xFFFF)
    throw LineError{"a splash time is ticks (60 a second), seconds (2s) or milliseconds (500ms), up to 65535 ticks, not " +
                    quoted(text)};
  return static_cast<std::uint16_t>(ticks);
}

std::array<std::uint8_t, 8> pattern_of(const std::string& text) {
  std::array<std::uint8_t, 8> bytes{};
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  bool ok = text.size() == 16;
  for (std::size_t i = 0; ok && i < 8; ++i) {
    int high = hex(text[2 * i]), low = hex(text[2 * i + 1]);
    ok = high >= 0 && low >= 0;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  if (!ok) throw LineError{"a pattern is 16 hexadecimal digits (8 rows of 8 pixels), not " + quoted(text)};
  return bytes;
}

std::string windows1252_of(const std::string& utf8, std::string_view what) {
  std::string problem;
  auto text = platform::backends::utf8_to_windows1252_exact(utf8, &problem);
  if (!text) throw LineError{std::string(what) + ": " + problem};
  return *text;
}

struct MemoryField {
  std::string_view name;
  std::uint32_t MemoryConfig::*field;
};
constexpr MemoryField kMemoryFields[] = {
    {"symbols", &MemoryConfig::symbols},     {"lisp-stack", &MemoryConfig::lisp_stack},
    {"prolog-stack", &MemoryConfig::prolog_stack}, {"nodes", &MemoryConfig::nodes},
    {"heap", &MemoryConfig::heap},           {"reserve", &MemoryConfig::reserve},
    {"native-stack", &MemoryConfig::native_stack}, {"node-share", &MemoryConfig::node_share},
    {"reserve-share", &MemoryConfig::reserve_share},
};

class ManifestParser {
 public:
  explicit ManifestParser(TitleManifest& m) : m_(m) {}

  void field(const LineParser& p, int line) {
    const std::string& name = p.word(0);
    std::span<const Field> all = fields();
    auto it = std::find_if(all.begin(), all.end(), [&](const Field& f) { return f.name == name; });
    if (it == all.end()) {
      std::vector<std::string_view> names;
      for (const Field& f : all) names.push_back(f.name);
      throw LineError{"unknown field " + quoted(name) + suggestion(name, names)};
    }
    if (it->once && seen_.contains(name)) throw LineError{quoted(name) + " is given twice"};
    (this->*(it->parse))(p, line);
    seen_.insert(name);
  }

 private:
  struct Field {
    std::string_view name;
    void (ManifestParser::*parse)(const LineParser&, int);
    bool once;
  };
  static std::span<const Field> fields();

  void caption(const LineParser& p, int) {
    p.expect_count(2, 2, "one word (in quotes when it has blanks)");
    std::string text = windows1252_of(p.word(1), "the caption");
    if (text.size() > kMaxCaption) throw LineError{"the caption is longer than 255 characters"};
    m_.caption = text;
  }
  void size(const LineParser& p, int) {
    p.expect_count(3, 3, "the client width and height in pixels");
    int width = static_cast<int>(p.integer(1, 1, kMaxClientSide, "the width"));
    int height = static_cast<int>(p.integer(2, 1, kMaxClientSide, "the height"));
    m_.size = raster::IntSize{width, height};
  }
  void flags(const LineParser& p, int) {
    p.expect_count(2, 64, "one or more flag names");
    for (std::size_t i = 1; i < p.count(); ++i) {
      const std::string& word = p.word(i) == "maximized" ? std::string("maximised") : p.word(i);
      auto it = std::find_if(std::begin(kFlagNames), std::end(kFlagNames), [&](const FlagName& f) { return f.name == word; });
      if (it == std::end(kFlagNames)) {
        std::vector<std::string_view> names;
        for (const FlagName& f : kFlagNames) names.push_back(f.name);
        throw LineError{"unknown flag " + quoted(word) + suggestion(word, names)};
      }
      m_.flags |= it->bit;
    }
  }
  void language(const LineParser& p, int) {
    p.expect_count(2, 2, "english, french or spanish");
    auto it = std::find(std::begin(kLanguages), std::end(kLanguages), p.word(1));
    if (it == std::end(kLanguages))
      throw LineError{"unknown language " + quoted(p.word(1)) + " (english, french or spanish)" };
    m_.language = static_cast<int>(it - std::begin(kLanguages));
  }
  void memory(const LineParser& p, int line) {
    p.expect_count(3, 3, "a setting and its amount, as in: memory nodes 800000");
    if (!m_.memory) {
      m_.memory = MemoryConfig{};
      m_.memory_line = line;
    }
    const std::string& name = p.word(1);
    if (!memory_seen_.insert(name).second) throw LineError{"memory " + name + " is given twice"};
    std::uint64_t amount = memory_amount(p.word(2));
    if (name == "total") {
      m_.memory->total = amount;
      return;
    }
    for (const MemoryField& f : kMemoryFields)
      if (f.name == name) {
        (*m_.memory).*(f.field) = static_cast<std::uint32_t>(amount);
        return;
      }
    std::vector<std::string_view> names{"total"};
    for (const MemoryField& f : kMemoryFields) names.push_back(f.name);
    throw LineError{"unknown memory setting " + quoted(name) + suggestion(name, names)};
  }
  void world(const LineParser& p, int line) {
    p.expect_count(2, 2, "auto, yes, no or the path of a world folder");
    m_.world_line = line;
    const std::string& w = p.word(1);
    if (w == "auto") m_.world = WorldChoice::automatic;
    else if (w == "yes") m_.world = WorldChoice::include;
    else if (w == "no") m_.world = WorldChoice::omit;
    else {
      m_.world = WorldChoice::folder;
      m_.world_folder = w;
    }
  }
  void check(const LineParser& p, int) {
    p.expect_count(2, 2, "yes or no");
    if (p.word(1) != "yes" && p.word(1) != "no") throw LineError{"\"check\" wants yes or no, not " + quoted(p.word(1))};
    m_.check_sources = p.word(1) == "yes";
  }
  void source(const LineParser& p, int line) {
    p.expect_count(2, 4096, "one or more Lisp files");
    for (std::size_t i = 1; i < p.count(); ++i) m_.sources.push_back({line, p.word(i)});
  }
  void splash(const LineParser& p, int line) {
    p.expect_count(2, 3, "a PNG file and how long it stays (120, 2s, 500ms); the last may go without");
    SplashEntry e{line, p.word(1), std::nullopt};
    if (p.count() == 3) e.ticks = ticks_of(p.word(2));
    m_.splash.push_back(std::move(e));
  }
  void picture(const LineParser& p, int line) { id_and_file(p, line, "PICT", "an id and a PNG file", m_.pictures); }
  void cursor(const LineParser& p, int line) {
    p.expect_count(3, 5, "an id, a 16 x 16 PNG file and, if you like, the hot spot x y");
    if (p.count() == 4) throw LineError{"the hot spot wants both x and y"};
    CursorEntry e{line, p.id(1), p.word(2)};
    if (p.count() == 5) {
      e.hot_x = static_cast<int>(p.integer(3, 0, 15, "the hot spot's x"));
      e.hot_y = static_cast<int>(p.integer(4, 0, 15, "the hot spot's y"));
    }
    claim("CURS", e.id);
    m_.cursors.push_back(std::move(e));
  }
  void strings(const LineParser& p, int line) {
    id_and_file(p, line, "STR#", "an id and a text file (one string a line)", m_.strings);
  }
  void id_and_file(const LineParser& p, int line, const std::string& type, std::string_view usage,
                   std::vector<IdFileEntry>& into) {
    p.expect_count(3, 3, usage);
    std::int16_t id = p.id(1);
    claim(type, id);
    into.push_back({line, id, p.word(2)});
  }
  void patterns(const LineParser& p, int line) {
    p.expect_count(3, 4096, "an id and one or more patterns of 16 hexadecimal digits");
    PatternsEntry e{line, p.id(1), {}};
    for (std::size_t i = 2; i < p.count(); ++i) e.patterns.push_back(pattern_of(p.word(i)));
    claim("PAT#", e.id);
    m_.patterns.push_back(std::move(e));
  }
  void resource(const LineParser& p, int line) {
    p.expect_count(4, 4, "a type of four characters, an id and a file");
    std::string type = windows1252_of(p.word(1), "the type");
    // Types of fewer characters are padded with blanks, as "snd " is.
    if (type.empty() || type.size() > 4) throw LineError{"a resource type has 1 to 4 characters, not " + quoted(p.word(1))};
    type.resize(4, ' ');
    std::int16_t id = p.id(2);
    claim(type, id);
    m_.raw.push_back({line, type, id, p.word(3)});
  }

  void claim(const std::string& type, std::int16_t id) {
    if (!claimed_.insert({type, id}).second)
      throw LineError{quoted(type) + " " + std::to_string(id) + " is given twice"};
  }

  TitleManifest& m_;
  std::set<std::string> seen_, memory_seen_;
  std::set<std::pair<std::string, std::int16_t>> claimed_;
};

std::span<const ManifestParser::Field> ManifestParser::fields() {
  static constexpr Field kFields[] = {
    {"caption", &ManifestParser::caption, true},   {"size", &ManifestParser::size, true},
    {"flags", &ManifestParser::flags, false},      {"language", &ManifestParser::language, true},
    {"memory", &ManifestParser::memory, false},    {"world", &ManifestParser::world, true},
    {"source", &ManifestParser::source, false},    {"splash", &ManifestParser::splash, false},
    {"picture", &ManifestParser::picture, false},  {"cursor", &ManifestParser::cursor, false},
    {"strings", &ManifestParser::strings, false},  {"patterns", &ManifestParser::patterns, false},
    {"resource", &ManifestParser::resource, false},  {"check", &ManifestParser::check, true},
  };
  return kFields;
}

// Resources the builder makes itself, which "resource" lines may not give.
std::optional<std::string> reserved_by_builder(const RawEntry& e, const TitleManifest& m) {
  if (e.type == "Load" || e.type == "SYMB") return "the Lisp sources";
  if (e.type == "PREF" && (e.id == 257 || e.id == 258)) return "the caption, size, flags and language";
  if ((e.type == "VPRF" && e.id == 256) || (e.type == "SIZE" && e.id == -1)) return "the memory settings";
  const int last_splash = kFirstSplashPicture + static_cast<int>(m.splash.size()) - 1;
  if (e.type == "wait" && e.id >= kFirstSplashPicture && e.id <= last_splash) return "the splash pictures";
  return std::nullopt;
}

// Why a picture cannot have the id: start-up shows "PICT" 501 and, while a
// "wait" leads on, the next ids as the splash.
std::optional<std::string> splash_conflict(int id, const TitleManifest& m) {
  const int after_splash = kFirstSplashPicture + static_cast<int>(m.splash.size());
  if (id >= kFirstSplashPicture && id < after_splash) return "is a splash picture (the splash lines take 501 on)";
  const bool leads_on = m.splash.empty() || m.splash.back().ticks;
  if (id == after_splash && leads_on)
    return m.splash.empty() ? "would show as the splash (give it as a splash line)"
                            : "would show as a splash picture after the last (whose time leads on to it)";
  return std::nullopt;
}

}  // namespace

std::span<const FlagName> start_flag_names() { return kFlagNames; }

std::string_view language_name(int language) {
  return language >= 0 && language < static_cast<int>(std::size(kLanguages)) ? kLanguages[language] : "unknown";
}

ManifestRead parse_manifest(std::string_view text, std::string_view file_name) {
  ManifestRead result;
  ManifestParser parser(result.manifest);
  auto error = [&](int line, const std::string& what) {
    result.errors.push_back(std::string(file_name) + ":" + std::to_string(line) + ": " + what);
  };
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 byte-order mark
  int line = 0;
  for (std::string_view content : text_lines(text)) {
    ++line;
    try {
      std::vector<std::string> words = split_words(content);
      if (!words.empty()) parser.field(LineParser(words), line);
    } catch (const LineError& e) {
      error(line, e.what);
    }
  }
  const TitleManifest& m = result.manifest;
  // Start-up stops the sequence at the first picture without a "wait".
  for (std::size_t i = 0; i + 1 < m.splash.size(); ++i)
    if (!m.splash[i].ticks)
      error(m.splash[i].line, "this splash picture needs a time: the pictures after it would never show");
  for (const IdFileEntry& e : m.pictures)
    if (auto why = splash_conflict(e.id, m)) error(e.line, "\"PICT\" " + std::to_string(e.id) + " " + *why);
  for (const RawEntry& e : m.raw) {
    if (auto owner = reserved_by_builder(e, m))
      error(e.line, quoted(e.type) + " " + std::to_string(e.id) + " is made from " + *owner);
    else if (e.type == "PICT")
      if (auto why = splash_conflict(e.id, m)) error(e.line, "\"PICT\" " + std::to_string(e.id) + " " + *why);
  }
  if (m.memory) {
    if (auto problem = memory_config_problem(*m.memory)) error(m.memory_line, *problem);
  }
  if (m.sources.empty() && m.world == WorldChoice::omit)
    error(m.world_line, "there is no Lisp source and no world (give \"source FILE\")");
  std::stable_sort(result.errors.begin(), result.errors.end(), [&](const std::string& a, const std::string& b) {
    auto line_of = [&](const std::string& s) { return std::atoi(s.c_str() + file_name.size() + 1); };
    return line_of(a) < line_of(b);
  });
  return result;
}

}  // namespace orvane::shell
