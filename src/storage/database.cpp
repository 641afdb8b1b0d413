// An open record database: the map in memory, loading, adding, removing and
// writing records, updating and compacting the file.
#include "storage/database.h"

#include <algorithm>
#include <optional>

#include "platform/byte_writer.h"
#include "storage/journal.h"

namespace orvane {

namespace {

[[noreturn]] void fail(int code, const char* what) { throw DatabaseError(code, false, what); }
[[noreturn]] void fail_system(int code, const char* what) { throw DatabaseError(code, true, what); }

void store_u32le(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A map count field holds the count minus one, so -1 is an empty list. The
// sum is taken in 64 bits: no value of the field can overflow it, and any
// count below zero is a damaged map.
std::optional<std::uint32_t> count_of_field(std::int32_t field) {
  std::int64_t count = std::int64_t{field} + 1;
  if (count < 0) return std::nullopt;
  return static_cast<std::uint32_t>(count);
}

}  // namespace

Database::Database(std::string path, std::unique_ptr<RandomAccess> storage, HandleStore& handles,
                   std::function<std::uint32_t()> now)
    : path_(std::move(path)), storage_(std::move(storage)), handles_(handles), now_(std::move(now)) {
  std::uint64_t file_size = 0;
  if (int err = storage_->size(file_size)) fail_system(err, "size");
  std::array<std::uint8_t, db::kHeaderSize> head{};
  if (storage_->read_exact(0, head) != 0) fail(3, "short header");
  auto h = parse_db_header(head);
  if (!h || !header_is_valid(*h, file_size)) fail(1, "not a database");
  header_ = *h;
  std::copy_n(head.begin() + db::kKeptOffset, db::kKeptSize, kept_.begin());
  std::vector<std::uint8_t> map;
  try {
    map.resize(header_.map_length);
  } catch (const std::bad_alloc&) {
    fail(2, "out of memory");
  }
  if (storage_->read_exact(header_.map_offset, map) != 0) fail(1, "short map");
  if (!std::equal(map.begin(), map.begin() + std::min<std::size_t>(16, map.size()), head.begin()) || map.size() < 16)
    fail(1, "map header mismatch");
  read_map(map);
  attrs_ &= static_cast<std::uint16_t>(~(db::kMapChanged | db::kMapNeedsCompaction));
  if (!storage_->writable()) attrs_ |= db::kReadOnly;
}

Database::~Database() {
  for (DbType& t : types_)
    for (DbEntry& e : t.entries)
      if (e.handle != 0) handles_.dispose(e.handle);
}

void Database::forget_handles() {
  for (DbType& t : types_)
    for (DbEntry& e : t.entries) e.handle = 0;
}

void Database::read_map(std::span<const std::uint8_t> map) {
  ByteReader r(map);
  r.seek(24);
  attrs_ = r.u16be();
  std::uint32_t type_list = r.u32be();
  std::uint32_t name_list = r.u32be();
  if (!r.ok() || type_list < db::kMapHeaderSize || name_list > map.size() || type_list > map.size())
    fail(1, "bad map offsets");
  names_.assign(map.begin() + name_list, map.end());
  r.seek(type_list);
  std::optional<std::uint32_t> type_count = count_of_field(r.s32be());
  if (!r.ok() || !type_count || !r.has(std::size_t{12} * *type_count)) fail(1, "bad type list");
  for (std::uint32_t i = 0; i < *type_count; ++i) {
    r.seek(std::size_t{type_list} + 4 + std::size_t{12} * i);
    DbType t;
    t.type = FourCC::from_bytes(r.bytes(4).data());
    std::optional<std::uint32_t> count = count_of_field(r.s32be());
    std::uint32_t list = r.u32be();
    ByteReader records(map);
    if (!r.ok() || !count || !records.seek(std::size_t{type_list} + list) ||
        !records.has(std::size_t{db::kRecordEntrySize} * *count))
      fail(1, "bad record list");
    for (std::uint32_t k = 0; k < *count; ++k) {
      DbEntry e;
      e.id = records.s32be();
      e.name_offset = records.s32be();
      e.attrs = records.u8();
      records.skip(1);
      e.data_offset = records.s32be();
      e.size = records.s32be();
      e.time = records.u32le();
      records.skip(4);
      // Any negative offset means "no data yet", whatever size is stored
      // beside it: such a record is written at the end when it is written.
      if (e.data_offset < 0) {
        e.data_offset = -1;
        e.size = -1;
      }
      // A record whose data lies outside the data area cannot be read or
      // moved safely: the file is refused rather than half trusted.
      if (e.data_offset >= 0 && e.size > 0 &&
          std::uint64_t(e.data_offset) + std::uint64_t(e.size) > header_.data_length)
        fail(1, "record data outside the data area");
      t.entries.push_back(e);
    }
    // A type listed twice (a damaged map) is read as one, so that each of
    // its records can be found and counted.
    auto same = std::find_if(types_.begin(), types_.end(), [&](const DbType& x) { return x.type == t.type; });
    if (same != types_.end())
      same->entries.insert(same->entries.end(), t.entries.begin(), t.entries.end());
    else
      types_.push_back(std::move(t));
  }
}

std::string_view Database::name_of(const DbEntry& e) const {
  if (e.name_offset < 0 || std::size_t(e.name_offset) >= names_.size()) return {};
  ByteReader r(names_, static_cast<std::size_t>(e.name_offset));
  std::string_view s = r.counted_string();
  return r.ok() ? s : std::string_view{};
}

// --- Finding ---------------------------------------------------------------------------

int Database::count(FourCC type) const {
  for (const DbType& t : types_)
    if (t.type == type) return static_cast<int>(t.entries.size());
  return 0;
}

std::optional<FourCC> Database::indexed_type(int index) const {
  if (index < 0 || index >= count_types()) return std::nullopt;
  return types_[static_cast<std::size_t>(index)].type;
}

DbEntry* Database::find(FourCC type, std::int32_t id) {
  for (DbType& t : types_)
    if (t.type == type)
      for (DbEntry& e : t.entries)
        if (e.id == id) return &e;
  return nullptr;
}

DbEntry* Database::find_named(FourCC type, std::string_view name) {
  for (DbType& t : types_)
    if (t.type == type)
      for (DbEntry& e : t.entries)
        if (e.name_offset >= 0 && name_of(e) == name) return &e;
  return nullptr;
}

DbEntry* Database::indexed(FourCC type, int index) {
  for (DbType& t : types_)
    if (t.type == type) {
      if (index < 0 || std::size_t(index) >= t.entries.size()) return nullptr;
      return &t.entries[static_cast<std::size_t>(index)];
    }
  return nullptr;
}

DbEntry* Database::find_handle(std::uint32_t h, FourCC* type_out) {
  if (h == 0) return nullptr;
  for (DbType& t : types_)
    for (DbEntry& e : t.entries)
      if (e.handle == h) {
        if (type_out) *type_out = t.type;
        return &e;
      }
  return nullptr;
}

DbEntry& Database::entry_of(std::uint32_t h, FourCC* type) {
  DbEntry* e = find_handle(h, type);
  if (!e) fail(5, "not a record");
  return *e;
}

std::uint32_t Database::live_handle(DbEntry& e) {
  if (e.handle != 0 && !handles_.is_live(e.handle)) e.handle = 0;  // disposed behind our back
  return e.handle;
}

void Database::require_writable() const {
  if (read_only()) fail(9, "read-only");
}

// --- One record -------------------------------------------------------------------------

std::uint32_t Database::load(FourCC type, DbEntry& e, bool no_load) {
  std::uint32_t h = live_handle(e);
  if (h != 0) {
    if (no_load || handles_.has_storage(h)) return h;
  } else {
    h = handles_.create();
    if (h == 0) fail(2, "out of memory");
    e.handle = h;
    if (no_load) return h;
  }
  if (e.data_offset < 0) return h;
  auto size = static_cast<std::uint32_t>(std::max(e.size, 0));
  std::vector<std::uint8_t> data(size);
  if (size != 0 && storage_->read_exact(std::uint64_t{header_.data_offset} + std::uint32_t(e.data_offset), data) != 0) {
    handles_.resize(h, 0);
    fail(3, "read failure");
  }
  if (is_text_type(type) && (e.attrs & db::kWindowsText) == 0)
    for (std::uint8_t& c : data) c = mac_to_windows(c);
  if (!handles_.resize(h, size)) fail(2, "out of memory");
  std::copy(data.begin(), data.end(), handles_.bytes(h).begin());
  if (e.attrs & db::kPurgeable) handles_.set_purgeable(h);
  return h;
}

void Database::release(std::uint32_t h) {
  DbEntry& e = entry_of(h);
  handles_.dispose(h);
  e.handle = 0;
}

void Database::detach(std::uint32_t h) { entry_of(h).handle = 0; }

std::int32_t Database::append_name(std::string_view name) {
  name = name.substr(0, db::kMaxName);
  auto offset = static_cast<std::int32_t>(names_.size());
  try {
    names_.push_back(static_cast<std::uint8_t>(name.size()));
    names_.insert(names_.end(), name.begin(), name.end());
  } catch (const std::bad_alloc&) {
    fail(2, "out of memory");
  }
  return offset;
}

void Database::set_info(std::uint32_t h, std::int32_t id, std::string_view name) {
  DbEntry& e = entry_of(h);
  require_writable();
  if (e.attrs & db::kProtected) return;
  attrs_ |= db::kMapChanged;
  e.id = id;
  name = name.substr(0, db::kMaxName);
  if (name.empty()) {
    e.name_offset = -1;
  } else if (e.name_offset >= 0 && name_of(e).size() >= name.size() && !name_of(e).empty()) {
    // Overwrite in place: the old name had room.
    auto at = static_cast<std::size_t>(e.name_offset);
    names_[at] = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), names_.begin() + static_cast<std::ptrdiff_t>(at + 1));
  } else {
    e.name_offset = append_name(name);
  }
}

void Database::set_attrs(std::uint32_t h, std::uint8_t attrs) {
  DbEntry& e = entry_of(h);
  require_writable();
  e.attrs = attrs;
  attrs_ |= db::kMapChanged;
}

void Database::changed(std::uint32_t h) {
  DbEntry& e = entry_of(h);
  require_writable();
  e.time = now_();
  e.attrs |= db::kChanged | db::kWindowsText;
  attrs_ |= db::kMapChanged;
}

void Database::add(std::uint32_t h, FourCC type, std::int32_t id, std::string_view name) {
  if (h == 0 || !handles_.is_live(h) || owns(h)) fail(7, "no handle or already a record");
  require_writable();
  auto it = std::find_if(types_.begin(), types_.end(), [&](const DbType& t) { return t.type == type; });
  if (it == types_.end()) {
    types_.push_back(DbType{type, {}});
    it = types_.end() - 1;
  }
  DbEntry e;
  e.id = id;
  e.attrs = db::kChanged | db::kWindowsText;
  e.time = now_();
  e.handle = h;
  e.name_offset = name.empty() ? -1 : append_name(name);
  it->entries.push_back(e);
  attrs_ |= db::kMapChanged;
}

void Database::remove(std::uint32_t h) {
  FourCC type;
  DbEntry& e = entry_of(h, &type);
  require_writable();
  if (e.attrs & db::kProtected) fail(8, "protected");
  for (DbType& t : types_) {
    if (t.type != type) continue;
    auto at = std::find_if(t.entries.begin(), t.entries.end(), [&](const DbEntry& x) { return &x == &e; });
    t.entries.erase(at);
    break;
  }
  attrs_ |= db::kMapChanged | db::kMapNeedsCompaction;
}

std::int32_t Database::size_of(const DbEntry& e) const {
  if (e.handle != 0 && handles_.is_live(e.handle)) {
    std::uint32_t s = handles_.size(e.handle);
    if (s != 0) return static_cast<std::int32_t>(s);
  }
  return e.size;
}

void Database::write_entry_data(FourCC, DbEntry& e) {
  if ((e.attrs & db::kChanged) == 0 || read_only()) return;
  std::uint32_t h = live_handle(e);
  if (h == 0) {
    // Released after being changed: the stored data is all there is.
    e.attrs &= static_cast<std::uint8_t>(~db::kChanged);
    return;
  }
  std::uint32_t size = handles_.size(h);
  if (e.data_offset < 0 || e.size < 0 || std::uint32_t(e.size) < size) {
    std::uint64_t end = std::uint64_t{header_.map_offset} + size;
    if (end > 0x7fffffff) fail_system(platform::sys_error::disk_full, "database too large");
    e.data_offset = static_cast<std::int32_t>(header_.map_offset - header_.data_offset);
    header_.map_offset += size;
    header_.data_length += size;
    attrs_ |= db::kMapChanged;
  }
  e.size = static_cast<std::int32_t>(size);
  if (size != 0) {
    auto bytes = handles_.bytes(h);
    pending_.push_back({std::uint64_t{header_.data_offset} + std::uint32_t(e.data_offset), {bytes.begin(), bytes.end()}});
  }
  if (e.attrs & db::kPurgeable) handles_.set_purgeable(h);
  e.attrs &= static_cast<std::uint8_t>(~db::kChanged);
}

void Database::write_record(std::uint32_t h) {
  FourCC type;
  DbEntry& e = entry_of(h, &type);
  if (read_only() || (e.attrs & db::kChanged) == 0) return;
  pending_.clear();
  write_entry_data(type, e);
  // The data may have gone over the old map: the header and map are
  // rewritten at once so the file is never left pointing at a stale map.
  write_header_and_map();
  commit_or_throw();
}

// --- The whole file -------------------------------------------------------------------------

std::uint64_t Database::bytes_in_use() const {
  std::uint64_t used = 0;
  for (const DbType& t : types_)
    for (const DbEntry& e : t.entries)
      if (e.size > 0) used += std::uint32_t(e.size);
  return used;
}

void Database::update(bool allow_compaction) {
  if ((attrs_ & db::kMapChanged) == 0 || read_only()) return;
  if (allow_compaction && bytes_in_use() * 10 < std::uint64_t{header_.data_length} * 7) {
    compact();
    return;
  }
  pending_.clear();
  for (DbType& t : types_)
    for (DbEntry& e : t.entries) write_entry_data(t.type, e);
  if (attrs_ & db::kMapNeedsCompaction) compact_map();
  attrs_ &= static_cast<std::uint16_t>(~(db::kMapChanged | db::kMapNeedsCompaction));
  write_header_and_map();
  commit_or_throw();
}

void Database::compact_map() {
  std::erase_if(types_, [](const DbType& t) { return t.entries.empty(); });
  std::vector<std::uint8_t> fresh;
  for (DbType& t : types_)
    for (DbEntry& e : t.entries) {
      if (e.name_offset < 0) continue;
      std::string_view name = name_of(e);
      e.name_offset = static_cast<std::int32_t>(fresh.size());
      fresh.push_back(static_cast<std::uint8_t>(name.size()));
      fresh.insert(fresh.end(), name.begin(), name.end());
    }
  names_ = std::move(fresh);
}

void Database::compact() {
  require_writable();
  pending_.clear();
  if (attrs_ & db::kMapNeedsCompaction) compact_map();
  attrs_ &= static_cast<std::uint16_t>(~(db::kMapChanged | db::kMapNeedsCompaction));
  struct Item {
    DbEntry* entry;
    FourCC type;
  };
  std::vector<Item> kept, aside;
  for (DbType& t : types_)
    for (DbEntry& e : t.entries) {
      bool has_handle = live_handle(e) != 0;
      if ((e.data_offset < 0 || (e.attrs & db::kChanged)) && has_handle)
        aside.push_back({&e, t.type});
      else if (e.data_offset >= 0)
        kept.push_back({&e, t.type});
      // No data and no handle: nothing to place; the entry stays unwritten.
    }
  std::reverse(aside.begin(), aside.end());
  std::stable_sort(kept.begin(), kept.end(), [](const Item& a, const Item& b) {
    if (a.entry->data_offset != b.entry->data_offset) return a.entry->data_offset < b.entry->data_offset;
    return a.entry->size == 0 && b.entry->size != 0;
  });
  // Records that share bytes with an earlier one (an inconsistent map) get
  // their bytes read before anything moves, so each keeps its own copy.
  std::vector<std::vector<std::uint8_t>> early(kept.size());
  std::vector<bool> overlaps(kept.size(), false);
  std::uint64_t end_so_far = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    DbEntry& e = *kept[i].entry;
    auto size = static_cast<std::uint32_t>(std::max(e.size, 0));
    if (std::uint64_t(e.data_offset) < end_so_far && size != 0) {
      overlaps[i] = true;
      early[i].resize(size);
      if (storage_->read_exact(header_.data_offset + std::uint64_t(e.data_offset), early[i]) != 0)
        fail(3, "read failure");
    }
    end_so_far = std::max(end_so_far, std::uint64_t(e.data_offset) + size);
  }
  bool reported = false;
  std::uint64_t position = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    DbEntry& e = *kept[i].entry;
    auto size = static_cast<std::uint32_t>(std::max(e.size, 0));
    if (overlaps[i]) {
      if (!reported && on_inconsistent_map) on_inconsistent_map();
      reported = true;
      pending_.push_back({header_.data_offset + position, std::move(early[i])});
      e.data_offset = static_cast<std::int32_t>(position);
    } else if (std::uint64_t(e.data_offset) != position) {
      std::vector<std::uint8_t> bytes(size);
      if (size != 0 && storage_->read_exact(header_.data_offset + std::uint64_t(e.data_offset), bytes) != 0)
        fail(3, "read failure");
      if (size != 0) pending_.push_back({header_.data_offset + position, std::move(bytes)});
      e.data_offset = static_cast<std::int32_t>(position);
    }
    position += size;
  }
  for (Item& item : aside) {
    DbEntry& e = *item.entry;
    std::uint32_t h = e.handle;
    std::uint32_t size = handles_.size(h);
    if (position + size > 0x7fffffff - db::kHeaderSize) fail_system(platform::sys_error::disk_full, "too large");
    e.size = static_cast<std::int32_t>(size);
    e.data_offset = static_cast<std::int32_t>(position);
    e.attrs &= static_cast<std::uint8_t>(~db::kChanged);
    if (size != 0) {
      auto bytes = handles_.bytes(h);
      pending_.push_back({header_.data_offset + position, {bytes.begin(), bytes.end()}});
    }
    if (e.attrs & db::kPurgeable) handles_.set_purgeable(h);
    position += size;
  }
  header_.data_length = static_cast<std::uint32_t>(position);
  header_.map_offset = static_cast<std::uint32_t>(db::kHeaderSize + position);
  write_header_and_map();
  commit_or_throw();
}

std::uint32_t Database::map_length() const {
  std::size_t records = 0;
  for (const DbType& t : types_) records += t.entries.size();
  return static_cast<std::uint32_t>(db::kMapHeaderSize + 4 + db::kTypeEntrySize * types_.size() +
                                    db::kRecordEntrySize * records + names_.size());
}

std::vector<std::uint8_t> Database::map_bytes() const {
  std::vector<std::uint8_t> out;
  out.reserve(header_.map_length);
  ByteWriter w;
  w.u32be(header_.data_offset);
  w.u32be(header_.map_offset);
  w.u32be(header_.data_length);
  w.u32be(header_.map_length);
  w.zeros(8);
  w.u16be(static_cast<std::uint16_t>(attrs_ & ~db::kReadOnly));
  std::size_t records = 0;
  for (const DbType& t : types_) records += t.entries.size();
  std::uint32_t name_list = db::kMapHeaderSize + 4 + db::kTypeEntrySize * static_cast<std::uint32_t>(types_.size()) +
                            db::kRecordEntrySize * static_cast<std::uint32_t>(records);
  w.u32be(db::kMapHeaderSize);
  w.u32be(name_list);
  w.u32be(static_cast<std::uint32_t>(types_.size()) - 1);
  std::uint32_t list = 4 + db::kTypeEntrySize * static_cast<std::uint32_t>(types_.size());
  for (const DbType& t : types_) {
    w.text(t.type.view());
    w.u32be(static_cast<std::uint32_t>(t.entries.size()) - 1);
    w.u32be(list);
    list += db::kRecordEntrySize * static_cast<std::uint32_t>(t.entries.size());
  }
  out = w.take();
  for (const DbType& t : types_)
    for (const DbEntry& e : t.entries) {
      ByteWriter r;
      r.u32be(static_cast<std::uint32_t>(e.id));
      r.u32be(static_cast<std::uint32_t>(e.name_offset));
      r.u8(e.attrs);
      r.u8(0);
      r.u32be(static_cast<std::uint32_t>(e.data_offset));
      r.u32be(static_cast<std::uint32_t>(e.size));
      auto bytes = r.take();
      out.insert(out.end(), bytes.begin(), bytes.end());
      store_u32le(out, e.time);
      out.insert(out.end(), 4, 0);
    }
  out.insert(out.end(), names_.begin(), names_.end());
  return out;
}

void Database::write_header_and_map() {
  header_.map_length = map_length();
  std::vector<std::uint8_t> map = map_bytes();
  std::vector<std::uint8_t> head(map.begin(), map.begin() + 16);
  // Everything the operation queued goes out in one batch: one journal
  // flush instead of one per record. Reads made while queueing saw the file
  // as it was, which is what a compaction moving records needs.
  std::vector<PlannedWrite> batch = std::move(pending_);
  pending_.clear();
  batch.push_back({0, std::move(head)});
  batch.push_back({db::kKeptOffset, {kept_.begin(), kept_.end()}});
  batch.push_back({header_.map_offset, std::move(map)});
  write_or_throw(std::move(batch));
  if (int err = storage_->set_length(std::uint64_t{header_.map_offset} + header_.map_length))
    fail_system(err, "set length");
}

void Database::write_or_throw(std::vector<PlannedWrite> batch) {
  if (int err = storage_->write(batch)) {
    // Undo the unfinished change on disk; the journal would at the next
    // open anyway, but later writes in this session must not commit it.
    if (auto* journaled = dynamic_cast<JournaledFile*>(storage_.get())) journaled->roll_back();
    fail_system(err, "write");
  }
}

void Database::commit_or_throw() {
  if (int err = storage_->commit()) fail_system(err, "commit");
}

// --- Opening ----------------------------------------------------------------------------------

std::unique_ptr<Database> open_database_file(std::string_view path, DbOpenMode mode, HandleStore& handles,
                                             std::function<std::uint32_t()> now) {
  platform::OpenMode open_mode = mode == DbOpenMode::read_only   ? platform::OpenMode::read_only
                                 : mode == DbOpenMode::read_write ? platform::OpenMode::read_write
                                                                  : platform::OpenMode::read_write_or_read_only;
  std::unique_ptr<JournaledFile> file;
  if (int err = JournaledFile::open(path, open_mode, file)) fail_system(err, "open");
  auto database = std::make_unique<Database>(std::string(path), std::move(file), handles, std::move(now));
  // The preload pass; a failure destroys the database, disposing of the
  // handles made so far.
  for (const DbType& t : database->types())
    for (std::size_t i = 0; i < t.entries.size(); ++i)
      if (t.entries[i].attrs & db::kPreload) database->load(t.type, *database->indexed(t.type, int(i)), false);
  return database;
}

}  // namespace orvane
