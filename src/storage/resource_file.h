// One resource file: its header, its map in memory and its storage, with the
// file-level operations (open and validate, read a resource's data, write
// one resource, write the map back, create an empty file). Free of Lisp
// types: the run-time's resource manager, the `rsrc` tool and the fuzzer all
// use it directly.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/random_access.h"
#include "storage/resource_format.h"
#include "storage/resource_map.h"

namespace orvane {

struct OpenOptions {
  // The run-time's checks. Off (tools only), the file may also be a
  // resource fork from a classic Macintosh disk: header bytes 16-255 hold
  // other data there, the map's copy of the header may be zero and the map
  // need not end the file.
  bool strict = true;
};

struct OpenDiagnostics {
  std::string reason;                     // why the open failed
  std::vector<std::string> strict_issues;  // what a strict open would refuse (lenient opens)
};

class ResourceFile {
 public:
  static ResError open(std::unique_ptr<RandomAccess> storage, const OpenOptions& options,
                       std::unique_ptr<ResourceFile>& out, OpenDiagnostics* diagnostics = nullptr);

  // The 286 bytes of an empty resource file.
  static std::vector<std::uint8_t> empty_file_image(std::string_view base_name, FourCC creator, FourCC type);
  // Creates an empty resource file at a host path; it appears whole or not
  // at all. ResError::exists when a file is there already.
  static ResError create(std::string_view path, FourCC creator, FourCC type);

  ResourceMap& map() { return map_; }
  const ResourceMap& map() const { return map_; }
  RandomAccess& storage() { return *storage_; }
  FourCC file_type() const { return FourCC::from_bytes(header_.data() + rsrc::kFileTypeOffset); }
  FourCC creator() const { return FourCC::from_bytes(header_.data() + rsrc::kFileCreatorOffset); }
  // The name stored in the header when the file was created.
  std::string stored_name() const;

  // The length word stored for a data offset; -1 when the entry has no data
  // or the word cannot be read or does not fit the data area (then *error
  // is ResError::io).
  std::int32_t stored_length(std::uint32_t data_field, ResError* error = nullptr) const;
  // Reads an entry's data: `allocate(n)` must answer n writable bytes (or an
  // empty span when it cannot). Nothing happens for an entry without data.
  ResError read_data(EntryPos e, const std::function<std::span<std::uint8_t>(std::uint32_t)>& allocate) const;
  std::optional<std::vector<std::uint8_t>> read_data(EntryPos e, ResError* error = nullptr) const;

  // Writes one changed resource's data: over its old block when that is big
  // enough, else appended at the end of the data area, over the old map,
  // which the next update writes again.
  ResError write_resource(EntryPos e, std::span<const std::uint8_t> data);

  // The data of a changed entry's handle; nothing when the entry has none.
  using DataOf = std::function<std::optional<std::span<const std::uint8_t>>(std::uint32_t handle)>;
  // Writes every changed resource, compacts the map when asked, then the
  // header and the map, and cuts the file after the map.
  ResError update(const DataOf& data_of);

  // Whether the file holds appended data that only the next update makes
  // readable.
  bool awaiting_map() const { return awaiting_map_; }

 private:
  ResourceFile() = default;
  // Plans the write of one entry; fills `plan`. Reads see earlier planned writes.
  ResError plan_resource(EntryPos e, std::span<const std::uint8_t> data, std::vector<PlannedWrite>& plan);
  void restore_changed(std::span<const std::uint32_t> handles);
  int read_through(std::span<const PlannedWrite> plan, std::uint64_t offset, std::span<std::uint8_t> out) const;

  std::unique_ptr<RandomAccess> storage_;
  std::array<std::uint8_t, rsrc::kHeaderSize> header_{};
  ResourceMap map_;
  bool awaiting_map_ = false;
};

}  // namespace orvane
