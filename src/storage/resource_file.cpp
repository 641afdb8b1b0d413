#include "storage/resource_file.h"

#include <cstring>
#include <new>

#include "platform/byte_writer.h"
#include "platform/file_io.h"

namespace orvane {

namespace {

using namespace rsrc;
namespace se = platform::sys_error;

constexpr std::uint64_t kMaxFileSize = 0x7fffffff;  // header fields are signed 32-bit

std::string at_offset(std::string text, std::uint64_t offset) {
  return std::move(text) + " (byte " + std::to_string(offset) + ")";
}

ResError fail(OpenDiagnostics* d, ResError e, std::string reason) {
  if (d) d->reason = std::move(reason);
  return e;
}

std::string_view base_name_of(std::string_view path) {
  auto cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

PlannedWrite block_write(std::uint64_t at, std::span<const std::uint8_t> data) {
  ByteWriter w(4 + data.size());
  w.u32be(static_cast<std::uint32_t>(data.size()));
  w.bytes(data);
  return {at, w.take()};
}

}  // namespace

// --- Opening -------------------------------------------------------------------

ResError ResourceFile::open(std::unique_ptr<RandomAccess> storage, const OpenOptions& options,
                            std::unique_ptr<ResourceFile>& out, OpenDiagnostics* diag) {
  out.reset();
  std::unique_ptr<ResourceFile> f(new ResourceFile());
  std::uint64_t file_size = 0;
  if (storage->size(file_size)) return fail(diag, ResError::io, "the file size cannot be read");
  std::size_t got = 0;
  if (storage->read_at(0, f->header_, got) || got < kHeaderSize)
    return fail(diag, ResError::io, "the file is shorter than its 256-byte header");

  ByteReader h(f->header_);
  const std::uint64_t data_offset = h.u32be(), map_offset = h.u32be();
  const std::int32_t data_length = h.s32be(), map_length = h.s32be();
  const std::uint8_t guard = f->header_[kMustBeZeroOffset];

  // What the run-time refuses; a lenient open only reports some of it.
  std::vector<std::string> strict;
  if (guard != 0) strict.push_back(at_offset("byte 128 is not 0", kMustBeZeroOffset));
  if (data_offset != kDataOffset) strict.push_back(at_offset("the data area does not start at 256", 0));
  if (map_offset < kHeaderSize) return fail(diag, ResError::bad_file, at_offset("the map starts inside the header", 4));
  if (data_length < 0) return fail(diag, ResError::bad_file, at_offset("negative data length", 8));
  if (map_length < 0) return fail(diag, ResError::bad_file, at_offset("negative map length", 12));
  if (data_offset < kHeaderCopySize) return fail(diag, ResError::bad_file, at_offset("the data area starts inside the header", 0));
  if (data_offset + static_cast<std::uint64_t>(data_length) > map_offset)
    return fail(diag, ResError::bad_file, at_offset("the data area overlaps the map", 8));
  const std::uint64_t map_end = map_offset + static_cast<std::uint64_t>(map_length);
  if (map_end > file_size)
    return fail(diag, ResError::bad_file, at_offset("the map runs past the end of the file", 12));
  if (map_end != file_size) strict.push_back(at_offset("the map does not end the file", map_end));

  if (options.strict && !strict.empty()) return fail(diag, ResError::bad_file, strict.front());

  std::vector<std::uint8_t> map_bytes;
  try {
    map_bytes.resize(static_cast<std::size_t>(map_length));
  } catch (const std::bad_alloc&) {
    return fail(diag, ResError::memory, "no memory for the map");
  }
  if (storage->read_exact(map_offset, map_bytes))
    return fail(diag, ResError::bad_file, at_offset("the map cannot be read whole", map_offset));
  if (map_bytes.size() < kHeaderCopySize ||
      std::memcmp(map_bytes.data(), f->header_.data(), kHeaderCopySize) != 0) {
    std::string reason = at_offset("the map's copy of the header differs from the header", map_offset);
    if (options.strict) return fail(diag, ResError::io, reason);
    strict.push_back(std::move(reason));
  }
  std::string why;
  if (ResourceMap::parse(std::move(map_bytes), f->map_, &why) != ResError::none)
    return fail(diag, ResError::bad_file, "bad map: " + why + " at byte " + std::to_string(map_offset) + " + map offset");
  f->map_.set_header_copy(static_cast<std::uint32_t>(data_offset), static_cast<std::uint32_t>(map_offset),
                          static_cast<std::uint32_t>(data_length));
  f->map_.set_attributes(f->map_.attributes() & ~(kMapChanged | kMapCompact));
  f->storage_ = std::move(storage);
  if (diag) diag->strict_issues = std::move(strict);
  out = std::move(f);
  return ResError::none;
}

std::string ResourceFile::stored_name() const {
  std::size_t n = std::min<std::size_t>(header_[kFileNameOffset], kFileNameMax);
  return std::string(reinterpret_cast<const char*>(header_.data() + kFileNameOffset + 1), n);
}

// --- Creation --------------------------------------------------------------------

std::vector<std::uint8_t> ResourceFile::empty_file_image(std::string_view base_name, FourCC creator, FourCC type) {
  // The name field holds 33 characters; longer names keep their start.
  base_name = base_name.substr(0, kFileNameMax);
  ResourceMap map = ResourceMap::empty();
  std::vector<std::uint8_t> out(kHeaderSize, 0);
  std::memcpy(out.data(), map.bytes().data(), kHeaderCopySize);
  out[kFileNameOffset] = static_cast<std::uint8_t>(base_name.size());
  std::memcpy(out.data() + kFileNameOffset + 1, base_name.data(), base_name.size());
  std::memcpy(out.data() + kFileTypeOffset, type.chars.data(), 4);
  std::memcpy(out.data() + kFileCreatorOffset, creator.chars.data(), 4);
  auto image = map.file_image();
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

ResError ResourceFile::create(std::string_view path, FourCC creator, FourCC type) {
  if (platform::file_exists(path)) return ResError::exists;
  if (platform::directory_exists(path)) return ResError::bad_file;
  auto image = empty_file_image(base_name_of(path), creator, type);
  // Written beside the file and renamed into place, so that a crash leaves
  // either no file or a whole one.
  std::string temp = std::string(path) + "-new";
  platform::File f;
  if (int err = platform::File::create(temp, platform::CreateMode::replace, f))
    return err == se::permission ? ResError::permission : ResError::bad_file;
  ResError result = ResError::none;
  if (f.write_at(0, image) || f.sync()) result = ResError::io;
  f.close();
  if (result == ResError::none) {
    int err = platform::rename_file_no_replace(temp, path);
    if (err == se::exists) result = ResError::exists;
    else if (err) result = err == se::permission ? ResError::permission : ResError::bad_file;
  }
  if (result != ResError::none) {
    platform::remove_file(temp);
    return result;
  }
  platform::sync_parent_directory(path);
  return ResError::none;
}

// --- Reading data ----------------------------------------------------------------

std::int32_t ResourceFile::stored_length(std::uint32_t data_field, ResError* error) const {
  if (error) *error = ResError::none;
  if (data_field == kNoData) return -1;
  std::uint8_t word[4];
  std::uint64_t at = std::uint64_t{map_.data_offset()} + data_field;
  // A data block lies before the map; a length that says otherwise is not
  // trusted.
  if (at + 4 > map_.map_offset() || storage_->read_exact(at, word)) {
    if (error) *error = ResError::io;
    return -1;
  }
  std::uint32_t n = load_u32be(word);
  if (at + 4 + n > map_.map_offset()) {
    if (error) *error = ResError::io;
    return -1;
  }
  return static_cast<std::int32_t>(n);
}

ResError ResourceFile::read_data(EntryPos e,
                                 const std::function<std::span<std::uint8_t>(std::uint32_t)>& allocate) const {
  std::uint32_t field = map_.data_field(e);
  if (field == kNoData) return ResError::none;
  ResError err = ResError::none;
  std::int32_t n = stored_length(field, &err);
  if (n < 0) return ResError::io;
  std::span<std::uint8_t> dest = allocate(static_cast<std::uint32_t>(n));
  if (dest.size() != static_cast<std::size_t>(n)) return ResError::memory;
  if (n > 0 && storage_->read_exact(std::uint64_t{map_.data_offset()} + field + 4, dest)) return ResError::io;
  return ResError::none;
}

std::optional<std::vector<std::uint8_t>> ResourceFile::read_data(EntryPos e, ResError* error) const {
  std::vector<std::uint8_t> out;
  ResError err = read_data(e, [&](std::uint32_t n) -> std::span<std::uint8_t> {
    try {
      out.resize(n);
    } catch (const std::bad_alloc&) {
      return {};
    }
    return out;
  });
  if (error) *error = err;
  if (err != ResError::none) return std::nullopt;
  return out;
}

// --- Writing -----------------------------------------------------------------------

int ResourceFile::read_through(std::span<const PlannedWrite> plan, std::uint64_t offset,
                               std::span<std::uint8_t> out) const {
  if (int err = storage_->read_exact(offset, out)) return err;
  for (const PlannedWrite& w : plan) {
    std::uint64_t from = std::max(offset, w.offset);
    std::uint64_t to = std::min(offset + out.size(), w.offset + w.bytes.size());
    for (std::uint64_t i = from; i < to; ++i) out[i - offset] = w.bytes[i - w.offset];
  }
  return 0;
}

ResError ResourceFile::plan_resource(EntryPos e, std::span<const std::uint8_t> data,
                                     std::vector<PlannedWrite>& plan) {
  const std::uint32_t field = map_.data_field(e);
  const std::uint64_t size = data.size();
  std::int64_t old = -1;
  if (field != kNoData) {
    std::uint8_t word[4];
    std::uint64_t at = std::uint64_t{map_.data_offset()} + field;
    if (at + 4 <= map_.map_offset() && read_through(plan, at, word) == 0) {
      std::uint32_t n = load_u32be(word);
      if (at + 4 + n <= map_.map_offset()) old = n;
    }
  }
  std::uint32_t target = field;
  if (old < 0 || static_cast<std::uint64_t>(old) < size) {
    // Appended at the end of the data area, where the map starts.
    std::uint64_t offset = std::uint64_t{map_.map_offset()} - map_.data_offset();
    std::uint64_t new_map = std::uint64_t{map_.map_offset()} + size + 4;
    if (offset >= kNoData || new_map + map_.map_length() > kMaxFileSize) return ResError::write_failed;
    target = static_cast<std::uint32_t>(offset);
    map_.set_map_offset(static_cast<std::uint32_t>(new_map));
    map_.set_data_length(static_cast<std::uint32_t>(map_.data_length() + size + 4));
    map_.set_attributes(map_.attributes() | kMapChanged | kMapCompact);
    map_.set_data_field(e, target);
    awaiting_map_ = true;
  }
  plan.push_back(block_write(std::uint64_t{map_.data_offset()} + target, data));
  return ResError::none;
}

ResError ResourceFile::write_resource(EntryPos e, std::span<const std::uint8_t> data) {
  if (!(map_.attrs(e) & kResChanged) || (map_.attributes() & kMapReadOnly)) return ResError::none;
  std::vector<PlannedWrite> plan;
  if (ResError err = plan_resource(e, data, plan); err != ResError::none) return err;
  if (storage_->write(plan)) return ResError::write_failed;
  map_.set_attrs(e, map_.attrs(e) & ~kResChanged);
  // Written over its old block, the file is whole again; appended, it waits
  // for the map.
  if (!awaiting_map_ && storage_->commit()) return ResError::write_failed;
  return ResError::none;
}

void ResourceFile::restore_changed(std::span<const std::uint32_t> handles) {
  for (std::uint32_t h : handles)
    if (auto e = map_.find_handle(h)) map_.set_attrs(*e, map_.attrs(*e) | kResChanged);
}

ResError ResourceFile::update(const DataOf& data_of) {
  const std::uint16_t attrs = map_.attributes();
  if (!(attrs & kMapChanged) || (attrs & kMapReadOnly)) return ResError::none;

  std::vector<PlannedWrite> plan;
  std::vector<std::uint32_t> written;  // handles: entries move when the map is compacted
  ResError failure = ResError::none;
  map_.for_each_entry([&](int, EntryPos e) {
    if (failure != ResError::none || !(map_.attrs(e) & kResChanged)) return;
    std::optional<std::span<const std::uint8_t>> data = data_of(map_.handle(e));
    // An entry without a handle has no new data: its old data stays.
    if (data) failure = plan_resource(e, *data, plan);
    if (failure != ResError::none) return;
    if (data) written.push_back(map_.handle(e));
    map_.set_attrs(e, map_.attrs(e) & ~kResChanged);
  });
  if (failure != ResError::none) {
    restore_changed(written);
    return failure;
  }

  if (map_.attributes() & kMapCompact) map_.compact();
  map_.set_attributes(map_.attributes() & ~(kMapChanged | kMapCompact));
  const std::uint64_t map_at = map_.map_offset();
  plan.push_back({0, std::vector<std::uint8_t>(map_.bytes().begin(), map_.bytes().begin() + kHeaderCopySize)});
  plan.push_back({map_at, map_.file_image()});
  if (storage_->write(plan) || storage_->set_length(map_at + map_.map_length()) || storage_->commit()) {
    // Nothing counts as written: the next update writes it all again, and
    // the journal restores the file if none succeeds.
    map_.set_attributes(map_.attributes() | kMapChanged);
    restore_changed(written);
    return ResError::write_failed;
  }
  awaiting_map_ = false;
  return ResError::none;
}

}  // namespace orvane
