// The record-database primitives: a thin layer that turns Lisp arguments
// into calls of the native databases (storage/database.h) and their
// failures into Lisp errors.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "lib/dates.h"
#include "lib/vectors.h"
#include "platform/byte_reader.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "reader/printer.h"
#include "storage/database.h"
#include "storage/database_module.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"
#include "storage/resource_handles.h"

namespace orvane {

namespace {

struct DatabaseModule {
  BlockHandleStore store;
  std::unique_ptr<DatabaseSet> set;
  Value compact_symbol = kNil;
};

DatabaseModule& module() {
  static DatabaseModule m;
  return m;
}

std::uint32_t now_seconds() { return static_cast<std::uint32_t>(time_from_unix(platform::clock().unix_time())); }

DatabaseSet& dbs() {
  DatabaseModule& m = module();
  if (!m.set) m.set = std::make_unique<DatabaseSet>(m.store, now_seconds);
  return *m.set;
}

bool compaction_allowed() { return is_true(symbol_global(module().compact_symbol)); }

// Runs a native operation; its failure becomes a Lisp error: database
// errors of class 1011 with nil, file-layer errors with `culprit`.
template <class F>
Value guarded(F&& f, Value culprit = kNil) {
  int code = 0;
  bool system = false;
  try {
    return f();
  } catch (const DatabaseError& e) {
    code = e.code;
    system = e.system;
  }
  if (system) raise_system_file_error(code, culprit);
  raise_database_error(code, kNil);
}

Value boolean(bool b) { return b ? g_sym.t : kNil; }

FourCC type_arg(Value v) {
  if (!is_string(v)) raise_error(2, v);
  return FourCC::of(string_view_of(v));
}

std::int32_t int_arg(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  return integer_unchecked(v);
}

std::string name_arg(Value v) {
  if (is_false(v)) return {};
  if (!is_string(v)) raise_error(2, v);
  return std::string(string_view_of(v).substr(0, db::kMaxName));
}

std::uint32_t database_arg(Value v) {
  if (!is_pointer(v) || pointer_kind(v) != PointerKind::database) raise_error(2, v);
  return pointer_address(v);
}

// The handle of a record (or handle) Value; 0 for a record wrapping none.
std::uint32_t handle_arg(Value v) {
  if (!is_pointer(v)) raise_error(2, v);
  PointerKind kind = pointer_kind(v);
  if (kind != PointerKind::record && kind != PointerKind::handle) raise_error(2, v);
  return pointer_address(v);
}

void set_kind(Value pointer, PointerKind kind) {
  Node& n = node_of(pointer);
  n.w0 = (n.w0 & ~kPayloadMask) | static_cast<std::uint32_t>(kind);
}

Value record_value(std::uint32_t h) { return make_handle_value(h, PointerKind::record); }

// The open database owning a record Value, and the record's entry.
struct Owned {
  Database* db;
  DbEntry* entry;
  FourCC type;
};
Owned owned(Value record) {
  std::uint32_t h = handle_arg(record);
  Database* db = dbs().owner(h).second;
  FourCC type;
  DbEntry* e = db->find_handle(h, &type);
  return {db, e, type};
}

// --- Files ----------------------------------------------------------------------------

Value p_create_database(Value path, Value creator, Value type) {
  std::string p = host_path_of(path);
  FourCC c = type_arg(creator), t = type_arg(type);
  return guarded([&] { create_database_file(p, c, t); return kNoValue; }, path);
}

Value p_create_database_in(Value path, Value creator, Value type) {
  std::string p = host_path_of(path);
  FourCC c = type_arg(creator), t = type_arg(type);
  return guarded([&] { create_database_in_file(p, c, t); return kNoValue; }, path);
}

Value p_database_p(Value path) {
  std::string host;
  return boolean(try_host_path_of(path, host) == 0 && is_database_file(host));
}

Value p_open_database(Value path, Value mode) {
  std::string p = host_path_of(path);
  std::int32_t m = int_arg(mode);
  if (m < 0 || m > 2) raise_error(2, mode);
  std::uint32_t id = 0;
  guarded([&] { id = dbs().open(p, static_cast<DbOpenMode>(m)); return kNoValue; }, path);
  return make_pointer(id, PointerKind::database);
}

Value p_close_database(Value database, Value no_update) {
  std::uint32_t id = database_arg(database);
  return guarded([&] { dbs().close(id, is_true(no_update), compaction_allowed()); return kNoValue; });
}

Value p_compact_database(Value database) {
  std::uint32_t id = database_arg(database);
  return guarded([&] { dbs().require(id).compact(); return kNoValue; });
}

Value p_update_database(Value database) {
  std::uint32_t id = database_arg(database);
  return guarded([&] { dbs().require(id).update(compaction_allowed()); return kNoValue; });
}

Value p_home_database(Value record) {
  std::uint32_t h = handle_arg(record);
  std::uint32_t id = 0;
  guarded([&] { id = dbs().owner(h).first; return kNoValue; });
  return make_pointer(id, PointerKind::database);
}

// --- Finding ---------------------------------------------------------------------------------

Value p_count_records(Value type, Value database) {
  FourCC t = type_arg(type);
  std::uint32_t id = database_arg(database);
  int n = 0;
  guarded([&] { n = dbs().require(id).count(t); return kNoValue; });
  return make_integer(n);
}

Value p_count_record_types(Value database) {
  std::uint32_t id = database_arg(database);
  int n = 0;
  guarded([&] { n = dbs().require(id).count_types(); return kNoValue; });
  return make_integer(n);
}

Value p_get_indexed_type(Value index, Value database) {
  std::int32_t i = int_arg(index);
  std::uint32_t id = database_arg(database);
  std::string out;
  guarded([&] {
    if (auto t = dbs().require(id).indexed_type(i)) out = t->str();
    return kNoValue;
  });
  return make_string(out);
}

Value p_get_indexed_record(Value type, Value index, Value database, Value no_load) {
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(index);
  std::uint32_t id = database_arg(database);
  if (i < 0) return kNil;
  std::uint32_t h = 0;
  guarded([&] {
    Database& db = dbs().require(id);
    DbEntry* e = db.indexed(t, i);
    if (!e) throw DatabaseError(5, false, "index out of range");
    h = db.load(t, *e, is_true(no_load));
    return kNoValue;
  });
  return record_value(h);
}

Value p_get_record(Value type, Value key, Value database, Value no_load) {
  FourCC t = type_arg(type);
  std::uint32_t id = database_arg(database);
  bool by_name = is_string(key);
  if (!by_name && !is_integer(key)) raise_error(2, key);
  std::int32_t record_id = by_name ? 0 : integer_unchecked(key);
  std::string name = by_name ? std::string(string_view_of(key)) : std::string();
  std::uint32_t h = 0;
  guarded([&] {
    Database& db = dbs().require(id);
    DbEntry* e = by_name ? db.find_named(t, name) : db.find(t, record_id);
    if (e) h = db.load(t, *e, is_true(no_load));
    return kNoValue;
  });
  return record_value(h);
}

Value p_load_record(Value record) {
  return guarded([&] {
    Owned o = owned(record);
    o.db->load(o.type, *o.entry, false);
    return kNoValue;
  });
}

Value p_write_record(Value record) {
  return guarded([&] {
    Owned o = owned(record);
    o.db->write_record(handle_arg(record));
    return kNoValue;
  });
}

Value p_release_record(Value record) {
  return guarded([&] {
    owned(record).db->release(handle_arg(record));
    return kNoValue;
  });
}

Value p_detach_record(Value record) {
  guarded([&] {
    owned(record).db->detach(handle_arg(record));
    return kNoValue;
  });
  set_kind(record, PointerKind::handle);
  return kNoValue;
}

Value p_unique_record_id(Value type, RestArgs databases) {
  FourCC t = type_arg(type);
  std::vector<std::uint32_t> ids;
  for (Value d : databases)
    if (!is_nil(d)) ids.push_back(database_arg(d));
  return make_integer(dbs().unique_id(t, ids));
}

// --- One record -----------------------------------------------------------------------------------

Value p_get_record_id(Value record) {
  std::int32_t n = 0;
  guarded([&] { n = owned(record).entry->id; return kNoValue; });
  return make_integer(n);
}

Value p_get_record_name(Value record) {
  std::string name;
  guarded([&] {
    Owned o = owned(record);
    name = std::string(o.db->name_of(*o.entry));
    return kNoValue;
  });
  return make_string(name);
}

Value p_get_record_size(Value record) {
  std::int32_t n = 0;
  guarded([&] {
    Owned o = owned(record);
    n = o.db->size_of(*o.entry);
    return kNoValue;
  });
  return make_integer(n);
}

Value p_get_record_time(Value record) {
  std::uint32_t n = 0;
  guarded([&] { n = owned(record).entry->time; return kNoValue; });
  return make_integer(static_cast<std::int32_t>(n));
}

Value p_get_record_attributes(Value record) {
  std::uint8_t n = 0;
  guarded([&] { n = owned(record).entry->attrs; return kNoValue; });
  return make_integer(n);
}

Value p_set_record_info(Value record, Value id, Value name) {
  std::int32_t i = int_arg(id);
  std::string n = name_arg(name);
  return guarded([&] {
    owned(record).db->set_info(handle_arg(record), i, n);
    return kNoValue;
  });
}

Value p_set_record_attributes(Value record, Value attrs) {
  auto a = static_cast<std::uint8_t>(int_arg(attrs));
  return guarded([&] {
    owned(record).db->set_attrs(handle_arg(record), a);
    return kNoValue;
  });
}

Value p_changed_record(Value record) {
  return guarded([&] {
    owned(record).db->changed(handle_arg(record));
    return kNoValue;
  });
}

Value p_add_record(Value handle, Value type, Value id, Value name, Value database) {
  std::uint32_t h = handle_arg(handle);
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  std::string n = name_arg(name);
  std::uint32_t dbid = database_arg(database);
  guarded([&] {
    Database& db = dbs().require(dbid);
    // A handle already belonging to any open database cannot be added.
    for (std::uint32_t other : dbs().open_ids())
      if (dbs().get(other)->owns(h)) throw DatabaseError(7, false, "already a record");
    db.add(h, t, i, n);
    return kNoValue;
  });
  set_kind(handle, PointerKind::record);
  return kNoValue;
}

Value p_remove_record(Value record) {
  guarded([&] {
    owned(record).db->remove(handle_arg(record));
    return kNoValue;
  });
  set_kind(record, PointerKind::handle);
  return kNoValue;
}

// --- Typed records --------------------------------------------------------------------------------

// The data of the record of that type and id, loaded; nothing when absent.
std::optional<std::vector<std::uint8_t>> typed_get(FourCC type, std::int32_t id, std::uint32_t dbid) {
  std::optional<std::vector<std::uint8_t>> out;
  guarded([&] {
    Database& db = dbs().require(dbid);
    DbEntry* e = db.find(type, id);
    if (!e) return kNoValue;
    std::uint32_t h = db.load(type, *e, false);
    auto bytes = dbs().handles().bytes(h);
    out.emplace(bytes.begin(), bytes.end());
    dbs().handles().set_purgeable(h);
    return kNoValue;
  });
  return out;
}

void typed_put(std::vector<std::uint8_t> data, FourCC type, std::int32_t id, std::uint32_t dbid) {
  guarded([&] {
    Database& db = dbs().require(dbid);
    if (db.read_only()) throw DatabaseError(9, false, "read-only");
    HandleStore& store = dbs().handles();
    DbEntry* e = db.find(type, id);
    std::uint32_t h = 0;
    if (e) {
      h = db.load(type, *e, true);
      if (!store.resize(h, static_cast<std::uint32_t>(data.size()))) throw DatabaseError(2, false, "memory");
      db.changed(h);
    } else {
      h = store.create();
      if (h == 0 || !store.resize(h, static_cast<std::uint32_t>(data.size()))) {
        store.dispose(h);
        throw DatabaseError(2, false, "memory");
      }
      db.add(h, type, id, "");
    }
    std::copy(data.begin(), data.end(), store.bytes(h).begin());
    db.update(compaction_allowed());
    db.release(h);
    return kNoValue;
  });
}

// A Value read back from a file: only immediates keep their meaning; any
// other bits would name an arbitrary node, so they come back as nil.
Value immediate_or_nil(Value v) { return is_fixnum(v) ? v : kNil; }

Value p_get_record_number(Value type, Value id, Value database) {
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  auto data = typed_get(t, i, database_arg(database));
  if (!data) raise_error(2, id);
  if (data->size() == 2) return make_integer(static_cast<std::int16_t>(load_u16be(data->data())));
  if (data->size() == 4) return make_integer(static_cast<std::int32_t>(load_u32be(data->data())));
  raise_error(2, id);
}

Value p_put_record_number(Value number, Value type, Value id, Value database) {
  std::int32_t n = int_arg(number);
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  std::uint32_t dbid = database_arg(database);
  // Two bytes only when they hold the value: every number comes back as it
  // was put.
  std::vector<std::uint8_t> data(n >= -32768 && n <= 32767 ? 2 : 4);
  if (data.size() == 2)
    store_u16be(data.data(), static_cast<std::uint16_t>(n));
  else
    store_u32be(data.data(), static_cast<std::uint32_t>(n));
  typed_put(std::move(data), t, i, dbid);
  return kNoValue;
}

Value p_get_record_string(Value type, Value id, Value database) {
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  auto data = typed_get(t, i, database_arg(database));
  if (!data) raise_error(2, id);
  auto end = std::find(data->begin(), data->end(), std::uint8_t{0});
  return make_string(std::string(data->begin(), end));
}

Value p_put_record_string(Value string, Value type, Value id, Value database) {
  if (!is_string(string)) raise_error(2, string);
  std::string_view s = string_view_of(string);
  std::vector<std::uint8_t> data(s.begin(), s.end());
  data.push_back(0);
  typed_put(std::move(data), type_arg(type), int_arg(id), database_arg(database));
  return kNoValue;
}

Value p_get_record_vector(Value type, Value id, Value database) {
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  auto data = typed_get(t, i, database_arg(database));
  if (!data || data->size() < 2) raise_error(2, id);
  std::uint32_t n = load_u16(data->data()) & 0x7fff;
  if (data->size() != 2 + 4 * std::size_t{n} || n > kMaxVectorLength) raise_error(2, id);
  std::vector<Value> items(n);
  for (std::uint32_t k = 0; k < n; ++k) items[k] = immediate_or_nil(load_value(data->data() + 2 + 4 * k));
  return make_vector(items.data(), n);
}

Value p_put_record_vector(Value vector, Value type, Value id, Value database) {
  if (!is_vector(vector)) raise_error(2, vector);
  std::uint32_t n = vector_length(vector);
  const std::uint8_t* p = indirect_data(vector);
  std::vector<std::uint8_t> data(p, p + 2 + 4 * std::size_t{n});
  typed_put(std::move(data), type_arg(type), int_arg(id), database_arg(database));
  return kNoValue;
}

Value p_get_record_array(Value type, Value id, Value database) {
  FourCC t = type_arg(type);
  std::int32_t i = int_arg(id);
  auto data = typed_get(t, i, database_arg(database));
  if (!data || data->size() < 4) raise_error(2, id);
  const std::uint8_t* p = data->data();
  std::uint32_t count = load_u16(p), rank = load_u16(p + 2);
  std::size_t size = 4 * std::size_t{count} + 2 * std::size_t{rank} + 4;
  if (rank == 0 || data->size() != size || size >= std::size_t(kArrayDataLimit)) raise_error(2, id);
  std::uint64_t product = 1;
  for (std::uint32_t k = 0; k < rank; ++k) product = std::min<std::uint64_t>(product * load_u16(p + 4 + 2 * k), 1u << 20);
  if (product != count) raise_error(2, id);
  for (std::uint32_t k = 0; k < count; ++k) {
    std::uint8_t* at = data->data() + 4 + 2 * rank + 4 * k;
    store_value(at, immediate_or_nil(load_value(at)));
  }
  auto bytes = static_cast<std::uint32_t>(size);
  std::uint8_t* out = reserve_indirect(bytes);
  std::copy(data->begin(), data->end(), out);
  return commit_indirect(bytes, tag::array, header::array);
}

Value p_put_record_array(Value array, Value type, Value id, Value database) {
  if (array.tag() != tag::array) raise_error(2, array);
  const std::uint8_t* p = indirect_data(array);
  std::size_t size = 4 * std::size_t{load_u16(p)} + 2 * std::size_t{load_u16(p + 2)} + 4;
  std::vector<std::uint8_t> data(p, p + size);
  typed_put(std::move(data), type_arg(type), int_arg(id), database_arg(database));
  return kNoValue;
}

// --- Printing ---------------------------------------------------------------------------------------

std::string record_printed_form(Value record) {
  std::uint32_t h = pointer_address(record);
  Database* db = nullptr;
  for (std::uint32_t id : dbs().open_ids())
    if (dbs().get(id)->owns(h)) db = dbs().get(id);
  if (!db) return "<record disposed>";
  FourCC type;
  DbEntry* e = db->find_handle(h, &type);
  std::string t(type.view());
  t = t.substr(0, t.find('\0'));
  std::string name(db->name_of(*e));
  char text[400];
  std::snprintf(text, sizeof text, "<record %s %ld \"%s\" %lx of size %d>", t.c_str(), long{e->id}, name.c_str(),
                static_cast<unsigned long>(h), db->size_of(*e));
  return text;
}

}  // namespace

void close_all_databases() {
  if (module().set) module().set->close_all();
}

void register_databases() {
  DatabaseModule& m = module();
  // Databases of an earlier run-time are dropped without writing: their
  // handles belonged to the old memory and must not be disposed of now.
  if (m.set) m.set->abandon_all();
  m.set = std::make_unique<DatabaseSet>(m.store, now_seconds);
  // The internal-error alert only: raising an error here would abandon a
  // compaction half done in memory.
  m.set->on_inconsistent_map = [] {
    platform::host().internal_error_alert("Internal error 5500");
  };
  m.compact_symbol = intern("Compact-Databases?");
  set_symbol_global(m.compact_symbol, g_sym.t);
  set_pointer_describer(PointerKind::record, record_printed_form);

  defprim("create-database-subr", p_create_database);
  defprim("create-database-in-subr", p_create_database_in);
  defprim("database?", p_database_p);
  defprim("open-database", p_open_database);
  defprim("close-database", p_close_database);
  defprim("compact-database", p_compact_database);
  defprim("update-database", p_update_database);
  defprim("home-database", p_home_database);
  defprim("count-records", p_count_records);
  defprim("count-record-types", p_count_record_types);
  defprim("get-indexed-type", p_get_indexed_type);
  defprim("get-indexed-record", p_get_indexed_record);
  defprim("get-record", p_get_record);
  defprim("load-record", p_load_record);
  defprim("write-record", p_write_record);
  defprim("release-record", p_release_record);
  defprim("detach-record", p_detach_record);
  defprim("unique-record-id", p_unique_record_id);
  defprim("get-record-id", p_get_record_id);
  defprim("get-record-name", p_get_record_name);
  defprim("get-record-size", p_get_record_size);
  defprim("get-record-time", p_get_record_time);
  defprim("get-record-attributes", p_get_record_attributes);
  defprim("set-record-info", p_set_record_info);
  defprim("set-record-attributes", p_set_record_attributes);
  defprim("changed-record", p_changed_record);
  defprim("add-record", p_add_record);
  defprim("remove-record", p_remove_record);
  defprim("get-record-number", p_get_record_number);
  defprim("put-record-number", p_put_record_number);
  defprim("get-record-string", p_get_record_string);
  defprim("put-record-string", p_put_record_string);
  defprim("get-record-vector", p_get_record_vector);
  defprim("put-record-vector", p_put_record_vector);
  defprim("get-record-array", p_get_record_array);
  defprim("put-record-array", p_put_record_array);
}

}  // namespace orvane
