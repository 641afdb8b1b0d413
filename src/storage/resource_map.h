// The resource map in memory: the map's bytes exactly as the file holds them
// (big-endian), edited in place by the byte-level rules that decide what is
// written back: a new type entry goes at the end of the type list, a new
// reference entry at the end of its type's list, new names at the end of the
// map; a removed entry leaves 12 unused bytes until the map is compacted.
//
// Each reference entry's reserved word holds the entry's handle while the
// map is in memory (0 = none), so handles travel with their entries when
// entries move. It is written to the file as zero.
//
// Invariants once parsed (checked by parse, kept by every edit):
// - the header copy's map length equals the size of the map;
// - the type list lies after the map header, every reference list between
//   the end of the type list and the name list, every name inside the map;
// - all offsets fit their 16-bit fields.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/resource_format.h"

namespace orvane {

// The map position of a 12-byte reference entry. Positions change when the
// map is edited; do not keep them across add, remove, set_info or compact.
using EntryPos = std::uint32_t;

struct TypeInfo {
  FourCC type;
  int count = 0;                  // resources of the type (the stored count + 1)
  std::uint32_t list_offset = 0;  // of the reference list, from the type list
};

class ResourceMap {
 public:
  ResourceMap();
  ~ResourceMap();
  ResourceMap(const ResourceMap& other);
  ResourceMap& operator=(const ResourceMap& other);
  ResourceMap(ResourceMap&& other) noexcept;
  ResourceMap& operator=(ResourceMap&& other) noexcept;

  // Checks the structure of a map read from a file; on failure answers
  // ResError::bad_file and says why (with the map offset at fault).
  static ResError parse(std::vector<std::uint8_t> bytes, ResourceMap& out, std::string* why = nullptr);
  // The 30-byte map of an empty file whose map starts right after the header.
  static ResourceMap empty();

  // --- Header copy and map header ---
  std::uint32_t data_offset() const { return field32(0); }
  std::uint32_t map_offset() const { return field32(4); }
  std::uint32_t data_length() const { return field32(8); }
  std::uint32_t map_length() const { return field32(12); }
  void set_map_offset(std::uint32_t v) { set_field32(4, v); }
  void set_data_length(std::uint32_t v) { set_field32(8, v); }
  void set_header_copy(std::uint32_t data_offset, std::uint32_t map_offset, std::uint32_t data_length);
  std::uint16_t attributes() const;
  void set_attributes(std::uint16_t attrs);
  std::uint32_t type_list() const;  // map position of the type list
  std::uint32_t name_list() const;  // map position of the name list

  // --- Types ---
  int type_count() const;  // entries of the type list, empty types included
  TypeInfo type_at(int index) const;
  EntryPos first_entry(int index) const;
  // The first type entry with that code; with `non_empty`, the first whose
  // count is not -1.
  std::optional<int> find_type(FourCC type, bool non_empty) const;

  // --- Entries ---
  std::int16_t id(EntryPos e) const;
  std::uint8_t attrs(EntryPos e) const;
  std::uint32_t data_field(EntryPos e) const;  // rsrc::kNoData when none
  std::uint32_t handle(EntryPos e) const;
  bool has_name(EntryPos e) const;
  std::string_view name(EntryPos e) const;  // "" when none
  void set_attrs(EntryPos e, std::uint8_t attrs);
  void set_data_field(EntryPos e, std::uint32_t offset);
  void set_handle(EntryPos e, std::uint32_t handle);
  // The type whose reference list holds the entry.
  int type_index_of(EntryPos e) const;

  // Calls f(type_index, entry) for every entry, in map order.
  template <class F>
  void for_each_entry(F&& f) const {
    for (int t = 0, n = type_count(); t < n; ++t) {
      TypeInfo info = type_at(t);
      EntryPos e = first_entry(t);
      for (int i = 0; i < info.count; ++i, e += rsrc::kRefEntrySize) f(t, e);
    }
  }

  // Searches as the resource manager does within one file: the first
  // non-empty type with that code, its entries in order.
  std::optional<EntryPos> find_id(FourCC type, std::int16_t id) const;
  std::optional<EntryPos> find_name(FourCC type, std::string_view name) const;
  // Any entry holding the handle.
  std::optional<EntryPos> find_handle(std::uint32_t handle) const;
  // Whether any type entry with that code holds the id.
  bool holds_id(FourCC type, std::int16_t id) const;

  // --- Edits (the map's growth rules) ---
  // Adds an entry at the end of its type's list, marked changed, without
  // data, holding the handle. ResError::memory when the map would outgrow
  // its 16-bit offsets; nothing changes then.
  ResError add(FourCC type, std::int16_t id, std::string_view name, std::uint32_t handle,
               EntryPos* added = nullptr);
  // Takes the entry out of its type's list; the list's last 12 bytes become
  // unused. The type stays, even when empty.
  void remove(EntryPos e);
  // Changes id and name; a longer name is appended at the end of the map.
  ResError set_info(EntryPos e, std::int16_t id, std::string_view name);
  // Drops empty types, lays the reference lists out again after the type
  // list at map offset 28 and keeps only the names still referred to.
  void compact();

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  // The map as written to a file: link, reference number and handles zero.
  std::vector<std::uint8_t> file_image() const;

 private:
  struct Index;

  std::uint32_t field32(std::uint32_t at) const;
  void set_field32(std::uint32_t at, std::uint32_t v);
  std::uint16_t field16(std::uint32_t at) const;
  void set_field16(std::uint32_t at, std::uint16_t v);
  void set_type_count(int n);
  void set_type_fields(int index, int count, std::uint32_t list_offset);
  void insert_bytes(std::uint32_t at, std::uint32_t n);
  void append_name(EntryPos e, std::string_view name);
  const Index& index() const;
  void invalidate();

  std::vector<std::uint8_t> bytes_;
  mutable std::unique_ptr<Index> index_;
};

}  // namespace orvane
