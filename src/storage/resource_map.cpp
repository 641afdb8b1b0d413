#include "storage/resource_map.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "platform/byte_reader.h"

namespace orvane {

namespace {

using namespace rsrc;

constexpr std::uint32_t kMaxOffset16 = 0xffff;
constexpr int kMaxCount = 32768;  // a stored count (n - 1) is a signed 16-bit field

std::uint64_t id_key(FourCC type, std::int16_t id) {
  return (std::uint64_t{type.key()} << 16) | static_cast<std::uint16_t>(id);
}

bool set_reason(std::string* why, std::string text, std::uint32_t at) {
  if (why) *why = std::move(text) + " (map offset " + std::to_string(at) + ")";
  return false;
}

}  // namespace

// Lookup tables built on first use after an edit.
struct ResourceMap::Index {
  std::unordered_map<std::uint64_t, EntryPos> by_id;  // first non-empty type only
  std::unordered_map<std::uint32_t, EntryPos> by_handle;
};

ResourceMap::ResourceMap() = default;
void ResourceMap::invalidate() { index_.reset(); }
ResourceMap::~ResourceMap() = default;
ResourceMap::ResourceMap(ResourceMap&& other) noexcept = default;
ResourceMap& ResourceMap::operator=(ResourceMap&& other) noexcept = default;
ResourceMap::ResourceMap(const ResourceMap& other) : bytes_(other.bytes_) {}
ResourceMap& ResourceMap::operator=(const ResourceMap& other) {
  if (this != &other) {
    bytes_ = other.bytes_;
    invalidate();
  }
  return *this;
}

// --- Parsing ---------------------------------------------------------------------

ResError ResourceMap::parse(std::vector<std::uint8_t> bytes, ResourceMap& out, std::string* why) {
  auto refuse = [&](std::string text, std::uint32_t at) {
    set_reason(why, std::move(text), at);
    return ResError::bad_file;
  };
  const auto size = static_cast<std::uint64_t>(bytes.size());
  ByteReader r(bytes);
  if (size < kMapNameListOffset + 2) return refuse("the map is shorter than its header", 0);
  r.seek(kMapTypeListOffset);
  std::uint32_t tl = r.u16be();
  std::uint32_t nl = r.u16be();
  if (tl < kMapNameListOffset + 2 || tl + 2 > size)
    return refuse("the type list lies outside the map", kMapTypeListOffset);
  r.seek(tl);
  int types = r.s16be() + 1;
  if (types < 0) return refuse("negative type count", tl);
  std::uint64_t lists_start = tl + 2 + std::uint64_t{kTypeEntrySize} * types;
  if (lists_start > size) return refuse("the type list runs past the end of the map", tl);
  if (nl < lists_start || nl > size) return refuse("the name list lies outside the map", kMapNameListOffset);
  for (int t = 0; t < types; ++t) {
    std::uint32_t at = tl + 2 + kTypeEntrySize * t;
    r.seek(at + 4);
    int count = r.s16be() + 1;
    std::uint64_t start = tl + std::uint64_t{r.u16be()};
    if (count < 0) return refuse("negative resource count", at + 4);
    if (start < lists_start || start + std::uint64_t{kRefEntrySize} * count > nl)
      return refuse("a reference list lies outside the reference lists", at + 6);
    for (int i = 0; i < count; ++i) {
      std::uint32_t e = static_cast<std::uint32_t>(start) + kRefEntrySize * i;
      r.seek(e + 2);
      std::uint32_t name = r.u16be();
      if (name == kNoName) continue;
      std::uint64_t name_at = std::uint64_t{nl} + name;
      if (name_at >= size || name_at + 1 + bytes[name_at] > size)
        return refuse("a resource name lies outside the map", e + 2);
    }
  }
  out.bytes_ = std::move(bytes);
  out.invalidate();
  // The link and reference number mean nothing outside a running program,
  // nor do the handle words of the entries.
  std::memset(out.bytes_.data() + kMapLink, 0, 6);
  out.for_each_entry([&](int, EntryPos e) { std::memset(out.bytes_.data() + e + 8, 0, 4); });
  return ResError::none;
}

ResourceMap ResourceMap::empty() {
  ResourceMap m;
  m.bytes_.assign(kEmptyMapSize, 0);
  m.set_header_copy(kDataOffset, kHeaderSize, 0);
  m.set_field16(kMapTypeListOffset, kStandardTypeList);
  m.set_field16(kMapNameListOffset, kEmptyMapSize);
  m.set_type_count(0);
  return m;
}

// --- Fields ------------------------------------------------------------------------

std::uint32_t ResourceMap::field32(std::uint32_t at) const {
  return at + 4 <= bytes_.size() ? load_u32be(bytes_.data() + at) : 0;
}
void ResourceMap::set_field32(std::uint32_t at, std::uint32_t v) {
  if (at + 4 <= bytes_.size()) store_u32be(bytes_.data() + at, v);
}
std::uint16_t ResourceMap::field16(std::uint32_t at) const {
  return at + 2 <= bytes_.size() ? load_u16be(bytes_.data() + at) : 0;
}
void ResourceMap::set_field16(std::uint32_t at, std::uint16_t v) {
  if (at + 2 <= bytes_.size()) store_u16be(bytes_.data() + at, v);
}

void ResourceMap::set_header_copy(std::uint32_t data_offset, std::uint32_t map_offset,
                                  std::uint32_t data_length) {
  set_field32(0, data_offset);
  set_field32(4, map_offset);
  set_field32(8, data_length);
  set_field32(12, static_cast<std::uint32_t>(bytes_.size()));
}

std::uint16_t ResourceMap::attributes() const { return field16(kMapAttributes); }
void ResourceMap::set_attributes(std::uint16_t attrs) { set_field16(kMapAttributes, attrs); }
std::uint32_t ResourceMap::type_list() const { return field16(kMapTypeListOffset); }
std::uint32_t ResourceMap::name_list() const { return field16(kMapNameListOffset); }

int ResourceMap::type_count() const {
  return bytes_.empty() ? 0 : static_cast<std::int16_t>(field16(type_list())) + 1;
}

TypeInfo ResourceMap::type_at(int index) const {
  std::uint32_t at = type_list() + 2 + kTypeEntrySize * static_cast<std::uint32_t>(index);
  if (index < 0 || at + kTypeEntrySize > bytes_.size()) return {};
  return {FourCC::from_bytes(bytes_.data() + at), static_cast<std::int16_t>(field16(at + 4)) + 1,
          field16(at + 6)};
}

EntryPos ResourceMap::first_entry(int index) const { return type_list() + type_at(index).list_offset; }

void ResourceMap::set_type_count(int n) { set_field16(type_list(), static_cast<std::uint16_t>(n - 1)); }

void ResourceMap::set_type_fields(int index, int count, std::uint32_t list_offset) {
  std::uint32_t at = type_list() + 2 + kTypeEntrySize * static_cast<std::uint32_t>(index);
  set_field16(at + 4, static_cast<std::uint16_t>(count - 1));
  set_field16(at + 6, static_cast<std::uint16_t>(list_offset));
}

std::optional<int> ResourceMap::find_type(FourCC type, bool non_empty) const {
  for (int t = 0, n = type_count(); t < n; ++t) {
    TypeInfo info = type_at(t);
    if (info.type == type && (!non_empty || info.count > 0)) return t;
  }
  return std::nullopt;
}

std::int16_t ResourceMap::id(EntryPos e) const { return static_cast<std::int16_t>(field16(e)); }
std::uint8_t ResourceMap::attrs(EntryPos e) const {
  return e + 4 < bytes_.size() ? bytes_[e + 4] : 0;
}
std::uint32_t ResourceMap::data_field(EntryPos e) const {
  return e + 8 <= bytes_.size() ? load_u24be(bytes_.data() + e + 5) : kNoData;
}
std::uint32_t ResourceMap::handle(EntryPos e) const { return field32(e + 8); }

bool ResourceMap::has_name(EntryPos e) const { return field16(e + 2) != kNoName; }

std::string_view ResourceMap::name(EntryPos e) const {
  if (!has_name(e)) return {};
  std::size_t at = std::size_t{name_list()} + field16(e + 2);
  if (at >= bytes_.size()) return {};
  std::size_t n = std::min<std::size_t>(bytes_[at], bytes_.size() - at - 1);
  return {reinterpret_cast<const char*>(bytes_.data() + at + 1), n};
}

void ResourceMap::set_attrs(EntryPos e, std::uint8_t attrs) {
  if (e + 4 < bytes_.size()) bytes_[e + 4] = attrs;
}
void ResourceMap::set_data_field(EntryPos e, std::uint32_t offset) {
  if (e + 8 <= bytes_.size()) store_u24be(bytes_.data() + e + 5, offset);
}

void ResourceMap::set_handle(EntryPos e, std::uint32_t h) {
  std::uint32_t old = handle(e);
  set_field32(e + 8, h);
  if (!index_) return;
  auto it = index_->by_handle.find(old);
  if (old != 0 && it != index_->by_handle.end() && it->second == e) index_->by_handle.erase(it);
  if (h != 0) index_->by_handle.emplace(h, e);
}

int ResourceMap::type_index_of(EntryPos e) const {
  for (int t = 0, n = type_count(); t < n; ++t) {
    EntryPos first = first_entry(t);
    if (e >= first && e < first + kRefEntrySize * static_cast<std::uint32_t>(type_at(t).count) &&
        (e - first) % kRefEntrySize == 0)
      return t;
  }
  return -1;
}

// --- Searches ------------------------------------------------------------------------

const ResourceMap::Index& ResourceMap::index() const {
  if (!index_) {
    auto idx = std::make_unique<Index>();
    std::unordered_set<std::uint32_t> seen;  // codes whose first non-empty type was met
    for (int t = 0, n = type_count(); t < n; ++t) {
      TypeInfo info = type_at(t);
      EntryPos e = first_entry(t);
      bool first = info.count > 0 && seen.insert(info.type.key()).second;
      for (int i = 0; i < info.count; ++i, e += kRefEntrySize) {
        if (first) idx->by_id.emplace(id_key(info.type, id(e)), e);
        if (std::uint32_t h = handle(e)) idx->by_handle.emplace(h, e);
      }
    }
    index_ = std::move(idx);
  }
  return *index_;
}

std::optional<EntryPos> ResourceMap::find_id(FourCC type, std::int16_t wanted) const {
  const auto& by_id = index().by_id;
  auto it = by_id.find(id_key(type, wanted));
  if (it == by_id.end()) return std::nullopt;
  return it->second;
}

std::optional<EntryPos> ResourceMap::find_name(FourCC type, std::string_view wanted) const {
  auto t = find_type(type, true);
  if (!t) return std::nullopt;
  EntryPos e = first_entry(*t);
  for (int i = 0, n = type_at(*t).count; i < n; ++i, e += kRefEntrySize) {
    if (has_name(e) && name(e) == wanted) return e;
  }
  return std::nullopt;
}

std::optional<EntryPos> ResourceMap::find_handle(std::uint32_t h) const {
  if (h == 0) return std::nullopt;
  const auto& by_handle = index().by_handle;
  auto it = by_handle.find(h);
  if (it == by_handle.end()) return std::nullopt;
  return it->second;
}

bool ResourceMap::holds_id(FourCC type, std::int16_t wanted) const {
  for (int t = 0, n = type_count(); t < n; ++t) {
    TypeInfo info = type_at(t);
    if (info.type != type) continue;
    EntryPos e = first_entry(t);
    for (int i = 0; i < info.count; ++i, e += kRefEntrySize)
      if (id(e) == wanted) return true;
  }
  return false;
}

// --- Edits -----------------------------------------------------------------------------

void ResourceMap::insert_bytes(std::uint32_t at, std::uint32_t n) {
  bytes_.insert(bytes_.begin() + at, n, 0);
}

void ResourceMap::append_name(EntryPos e, std::string_view name) {
  set_field16(e + 2, static_cast<std::uint16_t>(bytes_.size() - name_list()));
  bytes_.push_back(static_cast<std::uint8_t>(name.size()));
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  set_field32(12, static_cast<std::uint32_t>(bytes_.size()));
}

ResError ResourceMap::add(FourCC type, std::int16_t new_id, std::string_view name, std::uint32_t h,
                          EntryPos* added) {
  name = name.substr(0, kMaxNameLength);
  std::optional<int> found = find_type(type, false);
  const int types = type_count();
  const std::uint32_t growth = (found ? 0 : kTypeEntrySize) + kRefEntrySize;

  // Refuse up front what would overflow a field, so that a refused add
  // leaves the map as it was.
  if (name_list() + growth > kMaxOffset16) return ResError::memory;
  if (!found && types >= kMaxCount) return ResError::memory;
  if (found && type_at(*found).count >= kMaxCount) return ResError::memory;
  if (!name.empty() && bytes_.size() - name_list() > kMaxOffset16 - 1) return ResError::memory;
  try {
    bytes_.reserve(bytes_.size() + growth + (name.empty() ? 0 : name.size() + 1));
  } catch (const std::bad_alloc&) {
    return ResError::memory;
  }
  invalidate();

  // A new type entry at the end of the type list; every reference list
  // moves up by its 8 bytes.
  int t = found.value_or(types);
  if (!found) {
    std::uint32_t at = type_list() + 2 + kTypeEntrySize * static_cast<std::uint32_t>(types);
    std::uint32_t list_offset = 2 + kTypeEntrySize;
    if (types > 0) {
      TypeInfo last = type_at(types - 1);
      list_offset = last.list_offset + kTypeEntrySize + kRefEntrySize * static_cast<std::uint32_t>(last.count);
    }
    insert_bytes(at, kTypeEntrySize);
    for (int i = 0; i < types; ++i) {
      TypeInfo info = type_at(i);
      set_type_fields(i, info.count, info.list_offset + kTypeEntrySize);
    }
    set_type_count(types + 1);
    std::memcpy(bytes_.data() + at, type.chars.data(), 4);
    set_type_fields(t, 0, list_offset);
    set_field16(kMapNameListOffset, static_cast<std::uint16_t>(name_list() + kTypeEntrySize));
  }

  // The new reference entry at the end of the type's list; the lists that
  // follow it move up by 12 bytes.
  TypeInfo info = type_at(t);
  std::uint32_t rel = info.list_offset + kRefEntrySize * static_cast<std::uint32_t>(info.count);
  EntryPos e = type_list() + rel;
  insert_bytes(e, kRefEntrySize);
  for (int i = 0, n = type_count(); i < n; ++i) {
    if (i == t) continue;
    TypeInfo other = type_at(i);
    if (other.list_offset > rel || (other.list_offset == rel && i > t))
      set_type_fields(i, other.count, other.list_offset + kRefEntrySize);
  }
  set_type_fields(t, info.count + 1, info.list_offset);
  set_field16(kMapNameListOffset, static_cast<std::uint16_t>(name_list() + kRefEntrySize));
  set_field32(12, static_cast<std::uint32_t>(bytes_.size()));

  store_u16be(bytes_.data() + e, static_cast<std::uint16_t>(new_id));
  store_u16be(bytes_.data() + e + 2, kNoName);
  bytes_[e + 4] = kResChanged;
  store_u24be(bytes_.data() + e + 5, kNoData);
  store_u32be(bytes_.data() + e + 8, h);
  if (!name.empty()) append_name(e, name);
  set_attributes(attributes() | kMapChanged);
  if (added) *added = e;
  return ResError::none;
}

void ResourceMap::remove(EntryPos e) {
  int t = type_index_of(e);
  if (t < 0) return;
  invalidate();
  TypeInfo info = type_at(t);
  EntryPos end = first_entry(t) + kRefEntrySize * static_cast<std::uint32_t>(info.count);
  std::memmove(bytes_.data() + e, bytes_.data() + e + kRefEntrySize, end - e - kRefEntrySize);
  // The slot left unused keeps its stale bytes, but no handle.
  std::memset(bytes_.data() + end - kRefEntrySize + 8, 0, 4);
  set_type_fields(t, info.count - 1, info.list_offset);
  set_attributes(attributes() | kMapChanged | kMapCompact);
}

ResError ResourceMap::set_info(EntryPos e, std::int16_t new_id, std::string_view name) {
  name = name.substr(0, kMaxNameLength);
  if (attrs(e) & kResProtected) return ResError::none;
  const bool fits_in_place = has_name(e) && this->name(e).size() >= name.size();
  if (!name.empty() && !fits_in_place) {
    if (bytes_.size() - name_list() > kMaxOffset16 - 1) return ResError::memory;
    try {
      bytes_.reserve(bytes_.size() + name.size() + 1);
    } catch (const std::bad_alloc&) {
      return ResError::memory;
    }
  }
  invalidate();
  set_attributes(attributes() | kMapChanged);
  store_u16be(bytes_.data() + e, static_cast<std::uint16_t>(new_id));
  if (name.empty()) {
    store_u16be(bytes_.data() + e + 2, kNoName);
  } else if (fits_in_place) {
    std::size_t at = std::size_t{name_list()} + field16(e + 2);
    bytes_[at] = static_cast<std::uint8_t>(name.size());
    std::memcpy(bytes_.data() + at + 1, name.data(), name.size());
  } else {
    append_name(e, name);
  }
  return ResError::none;
}

void ResourceMap::compact() {
  struct Kept {
    TypeInfo info;
    int order;
  };
  std::vector<Kept> kept;
  for (int t = 0, n = type_count(); t < n; ++t) kept.push_back({type_at(t), t});
  // Empty types last, the others by the position of their lists.
  std::stable_sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
    bool ea = a.info.count == 0, eb = b.info.count == 0;
    if (ea != eb) return eb;
    return a.info.list_offset < b.info.list_offset;
  });
  while (!kept.empty() && kept.back().info.count == 0) kept.pop_back();

  std::uint32_t entries = 0;
  for (const Kept& k : kept) entries += static_cast<std::uint32_t>(k.info.count);
  const auto types = static_cast<std::uint32_t>(kept.size());
  const std::uint32_t new_nl = kStandardTypeList + 2 + kTypeEntrySize * types + kRefEntrySize * entries;
  const std::uint32_t old_tl = type_list(), old_nl = name_list();
  const bool rebuild_names = bytes_.size() > old_nl;

  std::vector<std::uint8_t> out(new_nl, 0);
  std::memcpy(out.data(), bytes_.data(), kStandardTypeList);
  store_u16be(out.data() + kMapTypeListOffset, kStandardTypeList);
  store_u16be(out.data() + kMapNameListOffset, static_cast<std::uint16_t>(new_nl));
  store_u16be(out.data() + kStandardTypeList, static_cast<std::uint16_t>(types - 1));
  std::vector<std::uint8_t> names;
  std::uint32_t list = 2 + kTypeEntrySize * types;
  for (std::uint32_t i = 0; i < types; ++i) {
    const TypeInfo& info = kept[i].info;
    std::uint8_t* te = out.data() + kStandardTypeList + 2 + kTypeEntrySize * i;
    std::memcpy(te, info.type.chars.data(), 4);
    store_u16be(te + 4, static_cast<std::uint16_t>(info.count - 1));
    store_u16be(te + 6, static_cast<std::uint16_t>(list));
    for (int j = 0; j < info.count; ++j) {
      EntryPos from = old_tl + info.list_offset + kRefEntrySize * static_cast<std::uint32_t>(j);
      std::uint8_t* to = out.data() + kStandardTypeList + list;
      std::memcpy(to, bytes_.data() + from, kRefEntrySize);
      if (rebuild_names && has_name(from)) {
        std::string_view n = name(from);
        store_u16be(to + 2, static_cast<std::uint16_t>(names.size()));
        names.push_back(static_cast<std::uint8_t>(n.size()));
        names.insert(names.end(), n.begin(), n.end());
      }
      list += kRefEntrySize;
    }
  }
  if (rebuild_names) {
    out.insert(out.end(), names.begin(), names.end());
  } else {
    out.insert(out.end(), bytes_.begin() + old_nl, bytes_.end());
  }
  bytes_ = std::move(out);
  set_field32(12, static_cast<std::uint32_t>(bytes_.size()));
  invalidate();
}

std::vector<std::uint8_t> ResourceMap::file_image() const {
  std::vector<std::uint8_t> out = bytes_;
  std::memset(out.data() + kMapLink, 0, 6);
  for_each_entry([&](int, EntryPos e) { std::memset(out.data() + e + 8, 0, 4); });
  return out;
}

}  // namespace orvane
