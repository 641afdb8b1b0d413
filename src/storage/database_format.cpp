// The on-disk pieces of a record database that need no open database:
// header parsing and checks, the empty file, the text conversion, creation.
#include <array>

#include "platform/byte_writer.h"
#include "platform/file_io.h"
#include "reader/mac_charset.h"
#include "storage/database.h"
#include "storage/journal.h"

namespace orvane {

std::optional<DbHeader> parse_db_header(std::span<const std::uint8_t> first256) {
  ByteReader r(first256);
  DbHeader h;
  h.data_offset = r.u32be();
  h.map_offset = r.u32be();
  h.data_length = r.u32be();
  h.map_length = r.u32be();
  auto creator = r.bytes(4);
  auto type = r.bytes(4);
  if (!r.ok() || !r.seek(db::kKeptOffset)) return std::nullopt;
  h.mark = r.u8();
  if (!r.ok()) return std::nullopt;
  h.creator = FourCC::from_bytes(creator.data());
  h.type = FourCC::from_bytes(type.data());
  return h;
}

bool header_is_valid(const DbHeader& h, std::uint64_t file_size) {
  // The fields are signed 32-bit values in the file: "not negative" means
  // below 2^31. Sums are taken in 64 bits so none can wrap.
  constexpr std::uint32_t kMaxSigned = 0x7fffffff;
  if (h.data_offset != db::kHeaderSize || h.map_offset < db::kHeaderSize) return false;
  if (h.data_length > kMaxSigned || h.map_length > kMaxSigned || h.map_offset > kMaxSigned) return false;
  if (std::uint64_t{h.data_offset} + h.data_length > h.map_offset) return false;
  if (std::uint64_t{h.map_offset} + h.map_length != file_size) return false;
  return h.mark == db::kFormatMark;
}

std::vector<std::uint8_t> empty_database_bytes(FourCC creator, FourCC type) {
  ByteWriter w(db::kHeaderSize + db::kEmptyMapSize);
  auto header16 = [&] {
    w.u32be(db::kHeaderSize);
    w.u32be(db::kHeaderSize);
    w.u32be(0);
    w.u32be(db::kEmptyMapSize);
  };
  header16();
  w.text(creator.view());
  w.text(type.view());
  w.zeros(104);
  w.u8(db::kFormatMark);
  w.zeros(7);
  for (int i = 0; i < 15; ++i) {
    w.u32be(0xffffffff);
    w.u32be(0);
  }
  header16();
  w.zeros(8);          // link and file words
  w.u16be(0);          // attributes
  w.u32be(db::kMapHeaderSize);
  w.u32be(db::kEmptyMapSize);
  w.u32be(0xffffffff);  // no types
  return w.take();
}

bool is_text_type(FourCC type) {
  std::string_view t = type.view();
  return t == "TEXT" || t == "Text" || t.substr(0, 3) == "Txt" || t.substr(0, 3) == "Prm";
}

std::uint8_t mac_to_windows(std::uint8_t c) {
  // Inverted once from the run-time's own Windows-to-Macintosh table; a
  // Macintosh character without a Windows one is kept as it is.
  static const std::array<std::uint8_t, 256> table = [] {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i);
    std::array<bool, 256> taken{};
    for (int w = 0; w < 256; ++w) {
      std::uint8_t m = windows_to_mac(static_cast<std::uint8_t>(w));
      if ((m != 0 || w == 0) && !taken[m]) {
        t[m] = static_cast<std::uint8_t>(w);
        taken[m] = true;
      }
    }
    return t;
  }();
  return table[c];
}

namespace {

[[noreturn]] void fail(int code, const char* what) { throw DatabaseError(code, false, what); }
[[noreturn]] void fail_system(int code, const char* what) { throw DatabaseError(code, true, what); }

void write_empty(std::string_view path, FourCC creator, FourCC type) {
  platform::File f;
  if (int err = platform::File::open(path, platform::OpenMode::read_write, f)) fail_system(err, "open");
  std::vector<std::uint8_t> bytes = empty_database_bytes(creator, type);
  if (int err = f.write_at(0, bytes)) fail_system(err, "write");
  if (int err = f.sync()) fail_system(err, "sync");
}

}  // namespace

void create_database_file(std::string_view path, FourCC creator, FourCC type) {
  if (platform::file_exists(path)) fail(6, "file exists");
  platform::File f;
  if (int err = platform::File::create(path, platform::CreateMode::exclusive, f)) {
    if (err == platform::sys_error::exists) fail(6, "file exists");
    fail_system(err, "create");
  }
  f.close();
  write_empty(path, creator, type);
  platform::sync_parent_directory(path);
}

void create_database_in_file(std::string_view path, FourCC creator, FourCC type) {
  if (!platform::file_exists(path)) fail(6, "no such file");
  write_empty(path, creator, type);
}

bool is_database_file(std::string_view path) {
  platform::File f;
  if (platform::File::open(path, platform::OpenMode::read_only, f) != 0) return false;
  std::array<std::uint8_t, db::kHeaderSize> head{};
  std::uint64_t size = 0;
  if (f.size(size) != 0 || f.read_exact(0, head) != 0) return false;
  // A journal left by a crash is not rolled back here (that needs write
  // access); its original length is what the header must agree with.
  if (std::optional<ParsedJournal> parsed = read_journal_for(path)) {
    std::vector<std::uint8_t> whole(static_cast<std::size_t>(std::min<std::uint64_t>(size, 1u << 30)));
    if (f.read_exact(0, whole) != 0) return false;
    roll_back_in_memory(whole, *parsed);
    if (whole.size() < db::kHeaderSize) return false;
    std::copy_n(whole.begin(), db::kHeaderSize, head.begin());
    size = whole.size();
  }
  auto h = parse_db_header(head);
  return h && header_is_valid(*h, size);
}

}  // namespace orvane
