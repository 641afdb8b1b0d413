#include "storage/resource_manager.h"

#include <algorithm>

#include "platform/text.h"
#include "storage/journal.h"

namespace orvane {

namespace {

using namespace rsrc;

// Paths compare through the run-time's letter-case table.
bool same_path(std::string_view a, std::string_view b) { return platform::names_equal_ignoring_case(a, b); }

constexpr int kFirstUniqueId = 128;
constexpr int kLastUniqueId = 32767;

}  // namespace

ResourceManager::ResourceManager(HandleStore& handles, FileRefTable& refs) : handles_(handles), refs_(refs) {}

ResourceManager::~ResourceManager() = default;

// --- Lookup helpers ------------------------------------------------------------------

ResourceManager::OpenFile* ResourceManager::find_file(int refnum) {
  for (OpenFile& f : chain_)
    if (f.refnum == refnum) return &f;
  return nullptr;
}

const ResourceManager::OpenFile* ResourceManager::find_file(int refnum) const {
  for (const OpenFile& f : chain_)
    if (f.refnum == refnum) return &f;
  return nullptr;
}

ResourceFile* ResourceManager::file(int refnum) {
  OpenFile* f = find_file(refnum);
  return f ? f->file.get() : nullptr;
}

std::string_view ResourceManager::path_of(int refnum) const {
  const OpenFile* f = find_file(refnum);
  return f ? std::string_view(f->path) : std::string_view();
}

std::vector<int> ResourceManager::open_files() const {
  std::vector<int> out;
  for (const OpenFile& f : chain_) out.push_back(f.refnum);
  return out;
}

std::optional<ResourceManager::Found> ResourceManager::find_handle(std::uint32_t h) {
  if (h == 0 || !handles_.is_live(h)) return std::nullopt;
  for (OpenFile& f : chain_)
    if (auto e = f.file->map().find_handle(h)) return Found{&f, *e};
  return std::nullopt;
}

bool ResourceManager::owns(std::uint32_t h) const {
  if (h == 0 || !handles_.is_live(h)) return false;
  for (const OpenFile& f : chain_)
    if (f.file->map().find_handle(h)) return true;
  return false;
}

std::uint32_t ResourceManager::live_handle(ResourceMap& map, EntryPos e) {
  std::uint32_t h = map.handle(e);
  // A handle disposed of behind the manager's back is no longer the entry's.
  if (h != 0 && !handles_.is_live(h)) {
    map.set_handle(e, 0);
    return 0;
  }
  return h;
}

// --- Opening and closing -----------------------------------------------------------------

int ResourceManager::find_open(std::string_view path) const {
  for (const OpenFile& f : chain_)
    if (same_path(f.path, path)) return f.refnum;
  return 0;
}

int ResourceManager::open(std::string_view path) {
  error_ = ResError::none;
  if (int refnum = find_open(path)) return refnum;
  std::unique_ptr<JournaledFile> storage;
  if (JournaledFile::open(path, platform::OpenMode::read_write_or_read_only, storage)) {
    error_ = ResError::bad_file;
    return -1;
  }
  return open_storage(path, std::move(storage));
}

int ResourceManager::open_storage(std::string_view path, std::unique_ptr<RandomAccess> storage) {
  error_ = ResError::none;
  if (int refnum = find_open(path)) return refnum;
  std::unique_ptr<ResourceFile> file;
  if (ResError err = ResourceFile::open(std::move(storage), OpenOptions{}, file); err != ResError::none) {
    error_ = err;
    return -1;
  }
  int refnum = refs_.allocate();
  if (refnum == 0) {
    error_ = ResError::bad_file;
    return -1;
  }
  chain_.insert(chain_.begin(), OpenFile{refnum, std::string(path), std::move(file)});
  // Preloading: failures leave an entry without its data but do not fail
  // the open.
  OpenFile& f = chain_.front();
  std::vector<EntryPos> preload;
  f.file->map().for_each_entry([&](int, EntryPos e) {
    if (f.file->map().attrs(e) & kResPreload) preload.push_back(e);
  });
  for (EntryPos e : preload) load_entry(f, e);
  current_ = refnum;
  counts_dirty_ = true;
  error_ = ResError::none;
  return refnum;
}

bool ResourceManager::can_open(std::string_view path) {
  if (find_open(path)) return true;
  std::unique_ptr<JournaledFile> storage;
  if (JournaledFile::open(path, platform::OpenMode::read_only, storage)) return false;
  std::unique_ptr<ResourceFile> file;
  return ResourceFile::open(std::move(storage), OpenOptions{}, file) == ResError::none;
}

void ResourceManager::forget_handles(OpenFile& f) {
  f.file->map().for_each_entry([&](int, EntryPos e) {
    if (std::uint32_t h = live_handle(f.file->map(), e)) handles_.dispose(h);
  });
}

void ResourceManager::close(int refnum) {
  OpenFile* f = find_file(refnum);
  if (!f) {
    error_ = ResError::no_file;
    return;
  }
  update(refnum);
  ResError outcome = error_;
  auto it = std::find_if(chain_.begin(), chain_.end(), [&](const OpenFile& o) { return o.refnum == refnum; });
  if (current_ == refnum) current_ = std::next(it) != chain_.end() ? std::next(it)->refnum : 0;
  forget_handles(*it);
  refs_.release(refnum);
  chain_.erase(it);
  counts_dirty_ = true;
  error_ = outcome;
}

void ResourceManager::close_all() {
  while (!chain_.empty()) close(chain_.front().refnum);
}

void ResourceManager::use(int refnum) {
  error_ = ResError::none;
  if (refnum != 0 && !find_file(refnum)) {
    error_ = ResError::no_file;
    return;
  }
  current_ = refnum;
}

int ResourceManager::home_file(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return -1;
  }
  return found->file->refnum;
}

std::uint16_t ResourceManager::file_attrs(int refnum) {
  error_ = ResError::none;
  if (refnum == 0) return 0;
  OpenFile* f = find_file(refnum);
  if (!f) {
    error_ = ResError::no_file;
    return 0;
  }
  return f->file->map().attributes();
}

void ResourceManager::set_file_attrs(int refnum, std::uint16_t attrs) {
  error_ = ResError::none;
  OpenFile* f = find_file(refnum);
  if (!f) {
    error_ = ResError::no_file;
    return;
  }
  f->file->map().set_attributes(attrs);
}

void ResourceManager::update(int refnum) {
  error_ = ResError::none;
  if (refnum == 0) return;
  OpenFile* f = find_file(refnum);
  if (!f) {
    error_ = ResError::no_file;
    return;
  }
  error_ = f->file->update([&](std::uint32_t h) -> std::optional<std::span<const std::uint8_t>> {
    if (h == 0 || !handles_.is_live(h)) return std::nullopt;
    return std::span<const std::uint8_t>(handles_.bytes(h));
  });
}

ResError ResourceManager::create_file(std::string_view path, FourCC creator, FourCC type) {
  error_ = ResourceFile::create(path, creator, type);
  return error_;
}

// --- Loading -------------------------------------------------------------------------------

ResError ResourceManager::load_entry(OpenFile& f, EntryPos e) {
  ResourceMap& map = f.file->map();
  std::uint32_t h = live_handle(map, e);
  if (h != 0) {
    // The load flag only stops the re-reading of a purged handle.
    if (!load_ || handles_.has_storage(h)) return ResError::none;
  } else {
    h = handles_.create();
    if (h == 0) return ResError::memory;
    map.set_handle(e, h);
  }
  ResError err = f.file->read_data(e, [&](std::uint32_t n) -> std::span<std::uint8_t> {
    if (!handles_.resize(h, n)) return {};
    return handles_.bytes(h);
  });
  if (err == ResError::io) handles_.resize(h, 0);
  if (err == ResError::none && (map.attrs(e) & kResPurgeable)) handles_.set_purgeable(h);
  return err;
}

std::uint32_t ResourceManager::load_found(OpenFile& f, EntryPos e) {
  error_ = load_entry(f, e);
  return f.file->map().handle(e);
}

void ResourceManager::load(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  error_ = load_entry(*found->file, found->entry);
}

// --- Searching -------------------------------------------------------------------------------

template <class Find>
std::uint32_t ResourceManager::search(bool current_only, const Find& find_in_map) {
  error_ = ResError::none;
  auto it = std::find_if(chain_.begin(), chain_.end(), [&](const OpenFile& f) { return f.refnum == current_; });
  for (; it != chain_.end(); ++it) {
    if (std::optional<EntryPos> e = find_in_map(it->file->map())) return load_found(*it, *e);
    if (current_only) break;
  }
  error_ = ResError::not_found;
  return 0;
}

std::uint32_t ResourceManager::get(FourCC type, std::int16_t id) {
  return search(false, [&](const ResourceMap& m) { return m.find_id(type, id); });
}

std::uint32_t ResourceManager::get_named(FourCC type, std::string_view name) {
  name = name.substr(0, kMaxNameLength);
  return search(false, [&](const ResourceMap& m) { return m.find_name(type, name); });
}

std::uint32_t ResourceManager::get1(FourCC type, std::int16_t id) {
  return search(true, [&](const ResourceMap& m) { return m.find_id(type, id); });
}

std::uint32_t ResourceManager::indexed(FourCC type, int index, bool current_only) {
  error_ = ResError::none;
  if (index < 1) return 0;
  int left = index;
  for (OpenFile& f : chain_) {
    if (current_only && f.refnum != current_) continue;
    ResourceMap& map = f.file->map();
    for (int t = 0, n = map.type_count(); t < n; ++t) {
      TypeInfo info = map.type_at(t);
      if (info.type != type || info.count <= 0) continue;
      if (left <= info.count)
        return load_found(f, map.first_entry(t) + kRefEntrySize * static_cast<std::uint32_t>(left - 1));
      left -= info.count;
    }
  }
  error_ = ResError::not_found;
  return 0;
}

std::uint32_t ResourceManager::get_indexed(FourCC type, int index) { return indexed(type, index, false); }

std::uint32_t ResourceManager::get1_indexed(FourCC type, int index) { return indexed(type, index, true); }

void ResourceManager::rebuild_counts() {
  counts_.clear();
  for (const OpenFile& f : chain_) {
    const ResourceMap& map = f.file->map();
    for (int t = 0, n = map.type_count(); t < n; ++t) {
      TypeInfo info = map.type_at(t);
      if (info.count <= 0) continue;
      auto it = std::find_if(counts_.begin(), counts_.end(), [&](const auto& c) { return c.first == info.type; });
      if (it != counts_.end()) it->second += info.count;
      else counts_.emplace_back(info.type, info.count);
    }
  }
  counts_dirty_ = false;
}

int ResourceManager::count(FourCC type) {
  error_ = ResError::none;
  if (counts_dirty_) rebuild_counts();
  for (const auto& [t, n] : counts_)
    if (t == type) return n;
  return 0;
}

int ResourceManager::count1_types() {
  error_ = ResError::none;
  OpenFile* f = find_file(current_);
  return f ? f->file->map().type_count() : 0;
}

std::optional<FourCC> ResourceManager::get1_indexed_type(int index) {
  error_ = ResError::none;
  OpenFile* f = find_file(current_);
  if (!f || index < 1 || index > f->file->map().type_count()) return std::nullopt;
  return f->file->map().type_at(index - 1).type;
}

int ResourceManager::count1(FourCC type) {
  error_ = ResError::none;
  OpenFile* f = find_file(current_);
  if (!f) return 0;
  int total = 0;
  const ResourceMap& map = f->file->map();
  for (int t = 0, n = map.type_count(); t < n; ++t) {
    TypeInfo info = map.type_at(t);
    if (info.type == type && info.count > 0) total += info.count;
  }
  return total;
}

std::int16_t ResourceManager::unique_id(FourCC type) {
  error_ = ResError::none;
  if (unique_type_ != type) {
    unique_type_ = type;
    unique_counter_ = kFirstUniqueId;
  }
  auto taken = [&](int id) {
    for (const OpenFile& f : chain_)
      if (f.file->map().holds_id(type, static_cast<std::int16_t>(id))) return true;
    return false;
  };
  // Past the last id the counter starts again at 128; a full range (which
  // no map can hold) ends the search where it began.
  for (int tries = kFirstUniqueId; tries <= kLastUniqueId; ++tries) {
    if (unique_counter_ > kLastUniqueId) unique_counter_ = kFirstUniqueId;
    if (!taken(unique_counter_)) break;
    ++unique_counter_;
  }
  if (unique_counter_ > kLastUniqueId) unique_counter_ = kFirstUniqueId;
  return static_cast<std::int16_t>(unique_counter_++);
}

// --- One resource ----------------------------------------------------------------------------

void ResourceManager::release(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  found->file->file->map().set_handle(found->entry, 0);
  handles_.dispose(h);
}

void ResourceManager::detach(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  found->file->file->map().set_handle(found->entry, 0);
}

std::optional<ResourceInfo> ResourceManager::info(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return std::nullopt;
  }
  const ResourceMap& map = found->file->file->map();
  EntryPos e = found->entry;
  int t = map.type_index_of(e);
  return ResourceInfo{map.type_at(t).type, map.id(e), map.has_name(e), std::string(map.name(e)), map.attrs(e)};
}

std::int32_t ResourceManager::size_of(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return -1;
  }
  if (std::uint32_t n = handles_.size(h)) return static_cast<std::int32_t>(n);
  ResourceFile& file = *found->file->file;
  return file.stored_length(file.map().data_field(found->entry), &error_);
}

void ResourceManager::set_info(std::uint32_t h, std::int16_t id, std::string_view name) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  error_ = found->file->file->map().set_info(found->entry, id, name);
}

void ResourceManager::set_attrs(std::uint32_t h, std::uint8_t attrs) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  ResourceMap& map = found->file->file->map();
  map.set_attrs(found->entry, attrs);
  map.set_attributes(map.attributes() | kMapChanged);
}

void ResourceManager::changed(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  ResourceMap& map = found->file->file->map();
  map.set_attrs(found->entry, map.attrs(found->entry) | kResChanged);
  map.set_attributes(map.attributes() | kMapChanged);
}

void ResourceManager::add(std::uint32_t h, FourCC type, std::int16_t id, std::string_view name) {
  error_ = ResError::none;
  OpenFile* f = find_file(current_);
  if (!f || h == 0 || !handles_.is_live(h) || owns(h)) {
    error_ = ResError::add_failed;
    return;
  }
  error_ = f->file->map().add(type, id, name, h);
  if (error_ == ResError::none) counts_dirty_ = true;
}

void ResourceManager::remove(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found || found->file->refnum != current_ ||
      (found->file->file->map().attrs(found->entry) & kResProtected)) {
    error_ = ResError::remove_failed;
    return;
  }
  found->file->file->map().remove(found->entry);
  counts_dirty_ = true;
}

void ResourceManager::write(std::uint32_t h) {
  error_ = ResError::none;
  auto found = find_handle(h);
  if (!found) {
    error_ = ResError::not_found;
    return;
  }
  error_ = found->file->file->write_resource(found->entry, handles_.bytes(h));
}

// --- Records ---------------------------------------------------------------------------------

std::optional<std::string> ResourceManager::indexed_string(std::int16_t list_id, int index) {
  std::uint32_t h = get(FourCC::of("STR#"), list_id);
  if (h == 0) return std::nullopt;
  auto s = string_list_entry(handles_.bytes(h), index);
  return s ? std::optional<std::string>(std::string(*s)) : std::nullopt;
}

std::optional<std::string> ResourceManager::string_resource(std::int16_t id) {
  std::uint32_t h = get(FourCC::of("STR "), id);
  if (h == 0) return std::nullopt;
  auto s = single_string(handles_.bytes(h));
  return s ? std::optional<std::string>(std::string(*s)) : std::nullopt;
}

std::optional<Pattern> ResourceManager::indexed_pattern(std::int16_t list_id, int index) {
  if (index < 1) return std::nullopt;
  if (list_id == 0) return builtin_pattern(index);
  std::uint32_t h = get(FourCC::of("PAT#"), list_id);
  if (h == 0) return std::nullopt;
  return pattern_list_entry(handles_.bytes(h), index);
}

}  // namespace orvane
