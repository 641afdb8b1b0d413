#include "reader/compact_encoder.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>

#include "reader/char_types.h"

namespace orvane {

namespace {

// The first entries, the same in every table (one-byte codes 0-7).
constexpr std::string_view kFixedNames[] = {"define", "quote", "set!", "t", "nil", "defslot", "when", "let"};
constexpr std::size_t kFirstTableEntry = 8;
constexpr std::size_t kLastTwoByteEntry = 17 * 256 + 7;  // codes 15-31, then one byte
constexpr std::size_t kMaxTableNames = 0xFFFF - kFirstTableEntry;
constexpr std::size_t kMaxNameLength = 255;

constexpr std::uint8_t kSymbol3 = 8;
constexpr std::uint8_t kFixnum1 = 11;
constexpr std::uint8_t kFixnum2 = 12;
constexpr std::uint8_t kVariable = 14;
constexpr std::uint8_t kFirstSymbol2 = 15;

// One piece of encoded output.
struct Piece {
  enum class Kind { text, symbol, variable, fixnum, gap } kind = Kind::text;
  std::string text;   // text: the bytes; symbol, variable: the name
  int value = 0;      // fixnum
  bool delimited = false;  // text that the next text would run into without a gap
};

bool is_name_type(std::uint8_t t) {
  return t == chartype::escape || t == chartype::dot || t == chartype::symbol || t == chartype::digit ||
         t == chartype::sign;
}

bool changes_syntax(std::string_view name) {
  return name == "dmc" || name == "ddc" || name == "typech" || name == "set-macro-character";
}

bool is_whitespace(std::uint8_t t) { return t == chartype::whitespace || t == chartype::line_end || t > chartype::whitespace; }

// Splits one source into pieces, following the reader token by token.
class Lexer {
 public:
  Lexer(std::string_view text, std::size_t source) : text_(text), source_(source), types_(initial_char_types()) {}

  std::vector<Piece> run() {
    while (pos_ < text_.size()) token();
    return std::move(pieces_);
  }

 private:
  struct Frame {
    bool list = true;
    int remaining = 0;  // data a prefix still takes
  };

  [[noreturn]] void fail(const std::string& what) const { throw CompactEncodingError(source_, line_at(pos_), what); }

  int line_at(std::size_t at) const {
    return 1 + static_cast<int>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(std::min(at, text_.size())), '\n'));
  }

  std::uint8_t type_at(std::size_t at) const { return types_[static_cast<unsigned char>(text_[at])]; }

  void emit(Piece piece) {
    if (gap_pending_ && !pieces_.empty() && pieces_.back().delimited) pieces_.push_back(Piece{Piece::Kind::gap, {}, 0, false});
    gap_pending_ = false;
    pieces_.push_back(std::move(piece));
  }
  void emit_text(std::string_view text, bool delimited) { emit({Piece::Kind::text, std::string(text), 0, delimited}); }

  // A name as collect_name reads it, from `pos_`: escapes resolved.
  std::string collect_name() {
    std::string name;
    while (pos_ < text_.size() && is_name_type(type_at(pos_))) {
      if (type_at(pos_) == chartype::escape && ++pos_ == text_.size()) break;
      name.push_back(text_[pos_++]);
    }
    return name;
  }

  bool encodable_name(std::string_view name) const {
    return !name.empty() && name.size() <= kMaxNameLength && name.find('\0') == std::string_view::npos;
  }

  void symbol(std::size_t start, std::string name, Piece::Kind kind) {
    if (kind == Piece::Kind::symbol && changes_syntax(name)) {
      pos_ = start;
      fail("\"" + name + "\" changes the reader's syntax, which compact code cannot follow");
    }
    if (encodable_name(name)) emit({kind, std::move(name), 0, false});
    else emit_text(text_.substr(start, pos_ - start), true);
    datum_done(false);
  }

  void token() {
    const std::size_t start = pos_;
    const char c = text_[pos_];
    const std::uint8_t t = type_at(pos_);
    if (is_whitespace(t)) {
      ++pos_;
      gap_pending_ = true;
      return;
    }
    switch (t) {
      case chartype::comment:
        while (pos_ < text_.size() && type_at(pos_) != chartype::line_end) ++pos_;
        gap_pending_ = true;
        return;
      case chartype::open_list:
      case chartype::open_brace:
        ++pos_;
        emit_text(text_.substr(start, 1), false);
        frames_.push_back({});
        return;
      case chartype::close_list:
      case chartype::close_list_alt:
      case chartype::close_brace:
        ++pos_;
        emit_text(text_.substr(start, 1), false);
        while (!frames_.empty()) {
          bool list = frames_.back().list;
          frames_.pop_back();
          if (list) break;
        }
        datum_done(true);
        return;
      case chartype::dot:
        ++pos_;
        emit_text(text_.substr(start, 1), false);
        return;
      case chartype::string:
        string_token();
        return;
      case chartype::escape:
      case chartype::symbol: {
        std::string name = collect_name();
        // A plain symbol named like a keyword stays text: the table would bind it.
        if (!name.empty() && name[0] == ':') {
          emit_text(text_.substr(start, pos_ - start), true);
          datum_done(false);
          return;
        }
        symbol(start, std::move(name), Piece::Kind::symbol);
        return;
      }
      case chartype::digit:
      case chartype::sign:
        number_token();
        return;
      case chartype::macro:
        macro_token(c);
        return;
      default:
        fail("the byte " + std::to_string(static_cast<unsigned char>(c)) + " is not text (a compact code)");
    }
  }

  void string_token() {
    const std::size_t start = pos_++;
    for (;;) {
      if (pos_ >= text_.size()) {
        pos_ = start;
        fail("the string is not closed");
      }
      std::uint8_t t = type_at(pos_);
      if (t == chartype::string) break;
      if (t == chartype::escape) ++pos_;
      ++pos_;
    }
    ++pos_;
    emit_text(text_.substr(start, pos_ - start), false);
    datum_done(false);
  }

  // The number routine: a decimal mark counts only after a digit.
  void number_token() {
    const std::size_t start = pos_;
    int marks = 0, digits = 0, escapes = 0;
    std::string name;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      const std::uint8_t t = type_at(pos_);
      if (c == '.' && digits > 0) {
        ++marks;
      } else if (t == chartype::digit) {
        ++digits;
      } else if (t == chartype::escape) {
        if (++pos_ == text_.size()) break;
        ++escapes;
      } else if (t != chartype::symbol && t != chartype::sign) {
        break;
      }
      name.push_back(text_[pos_++]);
    }
    if (escapes == 0 && digits >= 1 && marks <= 1) {
      // Integers of 16 bits get codes; every other number stays as written.
      if (auto value = small_integer(name)) {
        emit({Piece::Kind::fixnum, {}, *value, false});
        datum_done(false);
        return;
      }
      emit_text(text_.substr(start, pos_ - start), true);
      datum_done(false);
      return;
    }
    symbol(start, std::move(name), Piece::Kind::symbol);
  }

  static std::optional<int> small_integer(std::string_view text) {
    std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char d) { return d >= '0' && d <= '9'; })) return std::nullopt;
    long long value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (text.starts_with('-')) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<int>(value);
  }

  void macro_token(char c) {
    const std::size_t start = pos_++;
    switch (c) {
      case '#': {
        const char d = pos_ < text_.size() ? text_[pos_] : '\0';
        if (d == '(' || d == '{') {
          ++pos_;
          emit_text(text_.substr(start, 2), false);
          frames_.push_back({});
          return;
        }
        if (d != '\\') {
          pos_ = start;
          fail(std::string("\"#") + d + "\" is read by a function of the title's own, which compact code cannot serve");
        }
        pos_ = std::min(pos_ + 2, text_.size());  // the backslash and the character
        if (pos_ < text_.size() && (type_at(pos_) == chartype::symbol || type_at(pos_) == chartype::sign))
          collect_name();
        emit_text(text_.substr(start, pos_ - start), true);
        datum_done(false);
        return;
      }
      case '&':
        emit_text("&", false);
        frames_.push_back({false, 2});
        return;
      case '\'':
        emit_text("'", false);
        frames_.push_back({false, 1});
        return;
      case ':': {
        std::string name = collect_name();
        if (name.empty()) {
          emit_text(":", true);
          datum_done(false);
          return;
        }
        symbol(start, ":" + name, Piece::Kind::symbol);
        return;
      }
      default: {  // '_', the logic-variable reader
        std::string name = collect_name();
        if (name.empty()) {
          emit_text(text_.substr(start, pos_ - start), true);
          datum_done(false);
          return;
        }
        symbol(start, std::move(name), Piece::Kind::variable);
        return;
      }
    }
  }

  // A datum ended. Prefixes waiting for it take it; at the top level the
  // reader's next call discards the character after a datum that a closer
  // did not end, so a gap stands for that character, which is skipped.
  void datum_done(bool closed) {
    while (!frames_.empty() && !frames_.back().list) {
      if (--frames_.back().remaining > 0) return;
      frames_.pop_back();
    }
    if (!frames_.empty() || closed || pos_ >= text_.size()) return;
    ++pos_;
    pieces_.push_back(Piece{Piece::Kind::gap, {}, 0, false});
    gap_pending_ = false;
  }

  std::string_view text_;
  std::size_t source_;
  CharTypeTable types_;
  std::size_t pos_ = 0;
  std::vector<Frame> frames_;
  std::vector<Piece> pieces_;
  bool gap_pending_ = false;
};

void put_symbol(std::string& out, std::size_t entry, std::uint8_t three_byte_code) {
  if (three_byte_code == kSymbol3 && entry < kFirstTableEntry) {
    out.push_back(static_cast<char>(entry));
  } else if (three_byte_code == kSymbol3 && entry <= kLastTwoByteEntry) {
    std::size_t offset = entry - kFirstTableEntry;
    out.push_back(static_cast<char>(kFirstSymbol2 + offset / 256));
    out.push_back(static_cast<char>(offset % 256));
  } else {
    out.push_back(static_cast<char>(three_byte_code));
    out.push_back(static_cast<char>(entry >> 8));
    out.push_back(static_cast<char>(entry & 0xFF));
  }
}

void put_fixnum(std::string& out, int value) {
  if (value >= -128 && value <= 127) {
    out.push_back(static_cast<char>(kFixnum1));
    out.push_back(static_cast<char>(static_cast<std::uint8_t>(value)));
    return;
  }
  auto bits = static_cast<std::uint16_t>(value);
  out.push_back(static_cast<char>(kFixnum2));
  out.push_back(static_cast<char>(bits >> 8));
  out.push_back(static_cast<char>(bits & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> symbol_table_resource(std::span<const std::string> names) {
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(names.size() >> 8), static_cast<std::uint8_t>(names.size())};
  for (const std::string& name : names) {
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
  }
  return out;
}

CompactCode encode_compact(std::span<const std::string> sources) {
  std::vector<std::vector<Piece>> lexed;
  std::unordered_map<std::string, std::size_t> uses;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    lexed.push_back(Lexer(sources[i], i).run());
    for (const Piece& p : lexed.back())
      if (p.kind == Piece::Kind::symbol || p.kind == Piece::Kind::variable) ++uses[p.text];
  }
  std::unordered_map<std::string, std::size_t> entry;
  for (std::size_t i = 0; i < std::size(kFixedNames); ++i) {
    entry[std::string(kFixedNames[i])] = i;
    uses.erase(std::string(kFixedNames[i]));
  }
  // The most used names first: they get the two-byte codes. Ties by name,
  // so that a build is reproducible.
  std::vector<std::pair<std::string, std::size_t>> by_use(uses.begin(), uses.end());
  std::sort(by_use.begin(), by_use.end(),
            [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
  if (by_use.size() > kMaxTableNames)
    throw CompactEncodingError(0, 0, "the code uses " + std::to_string(by_use.size()) + " names; a compact table holds " +
                                         std::to_string(kMaxTableNames));
  std::vector<std::string> names;
  for (auto& [name, count] : by_use) {
    entry[name] = kFirstTableEntry + names.size();
    names.push_back(name);
  }

  CompactCode code;
  for (const std::vector<Piece>& pieces : lexed) {
    std::string out;
    for (const Piece& p : pieces) {
      switch (p.kind) {
        case Piece::Kind::gap: out.push_back(' '); break;
        case Piece::Kind::text: out += p.text; break;
        case Piece::Kind::fixnum: put_fixnum(out, p.value); break;
        case Piece::Kind::symbol:
        case Piece::Kind::variable: {
          put_symbol(out, entry.at(p.text), p.kind == Piece::Kind::symbol ? kSymbol3 : kVariable);
          break;
        }
      }
    }
    code.sources.push_back(std::move(out));
  }
  code.symbol_table = symbol_table_resource(names);
  code.symbols = names.size();
  return code;
}

}  // namespace orvane
