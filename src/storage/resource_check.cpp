#include "storage/resource_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/byte_reader.h"
#include "storage/resource_file.h"

namespace orvane {

namespace {

using namespace rsrc;

class Checker {
 public:
  explicit Checker(std::span<const std::uint8_t> file) : file_(file) {}

  CheckReport run() {
    std::vector<std::uint8_t> copy(file_.begin(), file_.end());
    std::unique_ptr<ResourceFile> opened;
    OpenDiagnostics diag;
    report_.runtime_accepts =
        ResourceFile::open(std::make_unique<MemoryFile>(std::move(copy), false), OpenOptions{}, opened, &diag) ==
        ResError::none;
    if (check_header()) check_map();
    std::stable_sort(report_.findings.begin(), report_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
    return std::move(report_);
  }

 private:
  void add(Severity s, std::uint64_t at, std::string message) {
    report_.findings.push_back({s, at, std::move(message)});
  }
  std::uint32_t u32(std::uint64_t at) const { return load_u32be(file_.data() + at); }
  std::uint16_t u16(std::uint64_t at) const { return load_u16be(file_.data() + at); }

  void check_zero(std::uint64_t from, std::uint64_t to, std::string_view what) {
    for (std::uint64_t i = from; i < to; ++i) {
      if (file_[i] != 0) {
        add(Severity::warning, i, std::string(what) + " are not zero");
        return;
      }
    }
  }

  // Answers whether the map's position is known well enough to go on.
  bool check_header() {
    const std::uint64_t size = file_.size();
    if (size < kHeaderSize) {
      add(Severity::error, 0, "the file is shorter than its 256-byte header (" + std::to_string(size) + " bytes)");
      return false;
    }
    data_offset_ = u32(0);
    map_offset_ = u32(4);
    const auto data_length = static_cast<std::int32_t>(u32(8));
    const auto map_length = static_cast<std::int32_t>(u32(12));
    if (data_offset_ != kDataOffset)
      add(Severity::error, 0, "the data area starts at " + std::to_string(data_offset_) + ", not 256");
    if (data_length < 0) add(Severity::error, 8, "negative data length");
    if (map_length < 0) add(Severity::error, 12, "negative map length");
    if (map_offset_ < kHeaderSize) add(Severity::error, 4, "the map starts inside the header");
    if (data_length >= 0 && std::uint64_t{data_offset_} + static_cast<std::uint32_t>(data_length) > map_offset_)
      add(Severity::error, 8, "the data area runs into the map");
    if (file_[kMustBeZeroOffset] != 0)
      add(Severity::error, kMustBeZeroOffset,
          "byte 128 is not 0 (a classic Macintosh resource fork? rsrc list and extract still read it)");
    check_zero(16, kFileNameOffset, "header bytes 16-47");
    if (file_[kFileNameOffset] > kFileNameMax)
      add(Severity::warning, kFileNameOffset, "the file name is longer than 33 characters");
    check_zero(90, kMustBeZeroOffset, "header bytes 90-127");
    check_zero(kMustBeZeroOffset + 1, kHeaderSize, "header bytes 129-255");
    if (map_length < 0 || map_offset_ < kHeaderSize) return false;
    map_end_ = std::uint64_t{map_offset_} + static_cast<std::uint32_t>(map_length);
    if (map_end_ > size) {
      add(Severity::error, 12,
          "the map runs past the end of the file (" + std::to_string(map_end_ - size) + " bytes missing)");
      return false;
    }
    if (map_end_ < size)
      add(Severity::error, map_end_, std::to_string(size - map_end_) + " bytes follow the map");
    data_end_ = data_length >= 0 ? std::uint64_t{data_offset_} + static_cast<std::uint32_t>(data_length) : 0;
    return true;
  }

  void check_map() {
    const std::uint64_t m = map_offset_;
    const std::uint64_t length = map_end_ - m;
    if (length < kEmptyMapSize) {
      add(Severity::error, m, "the map is shorter than 30 bytes");
      return;
    }
    if (!std::equal(file_.begin(), file_.begin() + kHeaderCopySize, file_.begin() + static_cast<std::ptrdiff_t>(m)))
      add(Severity::error, m, "the map's copy of the header differs from the header");
    if (u32(m + kMapLink) != 0 || u16(m + kMapRefNum) != 0)
      add(Severity::warning, m + kMapLink, "the map's link and reference-number words are not zero");
    const std::uint32_t tl = u16(m + kMapTypeListOffset), nl = u16(m + kMapNameListOffset);
    if (tl != kStandardTypeList)
      add(Severity::warning, m + kMapTypeListOffset, "the type list is at map offset " + std::to_string(tl) + ", not 28");
    if (tl < kMapNameListOffset + 2 || tl + 2 > length) {
      add(Severity::error, m + kMapTypeListOffset, "the type list lies outside the map");
      return;
    }
    const int types = static_cast<std::int16_t>(u16(m + tl)) + 1;
    if (types < 0) {
      add(Severity::error, m + tl, "negative type count");
      return;
    }
    const std::uint64_t lists = tl + 2 + std::uint64_t{kTypeEntrySize} * types;
    if (lists > length) {
      add(Severity::error, m + tl, "the type list runs past the end of the map");
      return;
    }
    bool names_ok = nl >= lists && nl <= length;
    if (!names_ok) add(Severity::error, m + kMapNameListOffset, "the name list lies outside the map");
    report_.types = static_cast<std::uint32_t>(types);

    std::set<std::uint32_t> seen_types;
    std::uint64_t used_list_bytes = 0;
    std::set<std::uint64_t> used_names;
    for (int t = 0; t < types; ++t) {
      const std::uint64_t te = m + tl + 2 + std::uint64_t{kTypeEntrySize} * t;
      FourCC type = FourCC::from_bytes(file_.data() + te);
      const int count = static_cast<std::int16_t>(u16(te + 4)) + 1;
      const std::uint64_t start = tl + std::uint64_t{u16(te + 6)};
      const std::string label = "type '" + type.str() + "'";
      if (!seen_types.insert(type.key()).second)
        add(Severity::warning, te, label + " appears twice in the type list");
      if (count < 0) {
        add(Severity::error, te + 4, label + ": negative resource count");
        continue;
      }
      if (count == 0) add(Severity::note, te, label + " is empty (dropped when the map is next compacted)");
      const std::uint64_t end = start + std::uint64_t{kRefEntrySize} * count;
      if (start < lists || end > (names_ok ? nl : length)) {
        add(Severity::error, te + 6, label + ": the reference list lies outside the reference lists");
        continue;
      }
      used_list_bytes += end - start;
      std::map<std::int16_t, std::uint64_t> ids;
      for (int i = 0; i < count; ++i) {
        const std::uint64_t e = m + start + std::uint64_t{kRefEntrySize} * i;
        check_entry(label, e, names_ok ? m + nl : 0, used_names, ids);
      }
      report_.resources += static_cast<std::uint32_t>(count);
    }
    if (names_ok && nl - lists > used_list_bytes)
      add(Severity::note, m + lists,
          std::to_string(nl - lists - used_list_bytes) +
              " unused bytes among the reference lists (left by removals; compaction drops them)");
    if (names_ok) check_name_list(m + nl, used_names);
    check_overlaps();
  }

  void check_entry(const std::string& label, std::uint64_t e, std::uint64_t name_list, std::set<std::uint64_t>& names,
                   std::map<std::int16_t, std::uint64_t>& ids) {
    const auto id = static_cast<std::int16_t>(u16(e));
    const std::string what = label + " id " + std::to_string(id);
    if (!ids.emplace(id, e).second) add(Severity::warning, e, what + " appears twice (only the first is found)");
    const std::uint32_t name = u16(e + 2);
    if (name != kNoName && name_list != 0) {
      const std::uint64_t at = name_list + name;
      if (at >= map_end_ || at + 1 + file_[at] > map_end_) add(Severity::error, e + 2, what + ": the name lies outside the map");
      else names.insert(at);
    }
    const std::uint8_t attrs = file_[e + 4];
    if (attrs & kResChanged) add(Severity::warning, e + 4, what + " is marked changed in the file");
    const std::uint32_t data = load_u24be(file_.data() + e + 5);
    if (data == kNoData) {
      add(Severity::warning, e + 5, what + " has no data in the file");
      return;
    }
    const std::uint64_t block = std::uint64_t{data_offset_} + data;
    if (block + 4 > map_offset_) {
      add(Severity::error, e + 5, what + ": the data offset lies outside the data area");
      return;
    }
    const std::uint32_t n = u32(block);
    if (block + 4 + n > map_offset_) {
      add(Severity::error, block, what + ": the data block (" + std::to_string(n) + " bytes) runs into the map");
      return;
    }
    if (block + 4 + n > data_end_)
      add(Severity::warning, block, what + ": the data block runs past the data length in the header");
    blocks_.push_back({block, block + 4 + n, what});
  }

  void check_name_list(std::uint64_t start, const std::set<std::uint64_t>& used) {
    std::uint64_t referenced = 0;
    for (std::uint64_t at : used) referenced += 1 + file_[at];
    if (map_end_ - start > referenced)
      add(Severity::note, start,
          std::to_string(map_end_ - start - referenced) + " bytes of the name list belong to no resource");
  }

  void check_overlaps() {
    std::sort(blocks_.begin(), blocks_.end(), [](const Block& a, const Block& b) { return a.start < b.start; });
    for (std::size_t i = 1; i < blocks_.size(); ++i) {
      const Block& prev = blocks_[i - 1];
      const Block& cur = blocks_[i];
      if (cur.start == prev.start) add(Severity::note, cur.start, cur.what + " shares its data with " + prev.what);
      else if (cur.start < prev.end) add(Severity::warning, cur.start, cur.what + "'s data overlaps " + prev.what + "'s");
    }
  }

  struct Block {
    std::uint64_t start, end;
    std::string what;
  };

  std::span<const std::uint8_t> file_;
  CheckReport report_;
  std::uint32_t data_offset_ = 0, map_offset_ = 0;
  std::uint64_t map_end_ = 0, data_end_ = 0;
  std::vector<Block> blocks_;
};

}  // namespace

CheckReport check_resource_file(std::span<const std::uint8_t> file) { return Checker(file).run(); }

std::string_view severity_name(Severity s) {
  switch (s) {
    case Severity::error: return "error";
    case Severity::warning: return "warning";
    case Severity::note: return "note";
  }
  return "error";
}

}  // namespace orvane
