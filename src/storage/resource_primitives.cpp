// The resource primitives: a thin layer that turns Lisp arguments into calls
// of the run-time's resource manager.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "core/memory.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/errors.h"
#include "reader/format_resources.h"
#include "reader/printer.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"
#include "storage/resource_handles.h"
#include "storage/resources.h"

namespace orvane {

namespace {

// The module's state: the handle store and the manager built on it.
struct ResourceModule {
  BlockHandleStore store;
  std::unique_ptr<ResourceManager> manager;
};

ResourceModule& module() {
  static ResourceModule m;
  return m;
}

ResourceManager& rm() { return resource_manager(); }

Value boolean(bool b) { return b ? g_sym.t : kNil; }
Value fixnum(std::int32_t n) { return make_integer(n); }
Value error_code_check(Value result) {
  check_resource_code(code_of(rm().last_error()));
  return result;
}

// --- Arguments -------------------------------------------------------------------------

// A type: the first four characters of a string (shorter ones padded with
// zero bytes).
FourCC type_arg(Value v) {
  if (!is_string(v)) raise_error(2, v);
  return FourCC::of(string_view_of(v));
}

// An id: the low 16 bits of a fixnum, signed.
std::int16_t id_arg(Value v) {
  if (!is_fixnum(v)) raise_error(2, v);
  return static_cast<std::int16_t>(v.fixnum() & 0xffff);
}

std::int32_t int_arg(Value v) {
  if (!is_integer(v)) raise_error(2, v);
  return integer_unchecked(v);
}

// A name: a string (at most 255 characters are kept); nil for none.
std::string name_arg(Value v) {
  if (is_nil(v)) return {};
  if (!is_string(v)) raise_error(2, v);
  return std::string(string_view_of(v).substr(0, rsrc::kMaxNameLength));
}

// The handle of a resource or handle Value; 0 for nil.
std::uint32_t handle_arg(Value v) {
  if (is_nil(v)) return 0;
  if (!is_pointer(v)) raise_error(2, v);
  PointerKind kind = pointer_kind(v);
  if (kind != PointerKind::resource && kind != PointerKind::handle) raise_error(2, v);
  return pointer_address(v);
}

void set_kind(Value pointer, PointerKind kind) {
  Node& n = node_of(pointer);
  n.w0 = (n.w0 & ~kPayloadMask) | static_cast<std::uint32_t>(kind);
}

// --- Files --------------------------------------------------------------------------------

// A path whose drive maps to nothing is a file that cannot be opened.
Value p_openresfile(Value path) {
  std::string host;
  if (try_host_path_of(path, host)) {
    rm().restore_error(ResError::bad_file);
    return fixnum(-1);
  }
  return fixnum(rm().open(host));
}

Value p_closeresfile(Value refnum) {
  rm().close(int_arg(refnum));
  return error_code_check(kNoValue);
}

Value p_reserror() { return fixnum(code_of(rm().last_error())); }
Value p_curresfile() { return fixnum(rm().current_file()); }
Value p_homeresfile(Value r) { return fixnum(rm().home_file(handle_arg(r))); }

Value p_useresfile(Value refnum) {
  rm().use(int_arg(refnum));
  return kNoValue;
}

Value p_setresload(Value flag) {
  rm().set_load_flag(is_fixnum(flag) ? (flag.fixnum() & 0xffff) != 0 : is_true(flag));
  return kNoValue;
}

Value p_updateresfile(Value refnum) {
  rm().update(int_arg(refnum));
  return error_code_check(kNoValue);
}

Value p_getresfileattrs(Value refnum) { return fixnum(rm().file_attrs(int_arg(refnum))); }

Value p_setresfileattrs(Value refnum, Value attrs) {
  rm().set_file_attrs(int_arg(refnum), static_cast<std::uint16_t>(int_arg(attrs)));
  return kNoValue;
}

Value p_openrf(Value path) {
  std::string host;
  return boolean(try_host_path_of(path, host) == 0 && rm().find_open(host) != 0);
}

Value p_resource_fork_exists(Value path) {
  std::string host;
  return boolean(try_host_path_of(path, host) == 0 && rm().can_open(host));
}

// --- Finding resources ------------------------------------------------------------------------

Value p_countresources(Value type) { return fixnum(rm().count(type_arg(type))); }

Value p_getindresource(Value type, Value index) {
  return make_resource_value(rm().get_indexed(type_arg(type), int_arg(index)));
}

Value p_getresource(Value type, Value key) {
  FourCC t = type_arg(type);
  if (is_fixnum(key)) return make_resource_value(rm().get(t, id_arg(key)));
  if (is_string(key)) return make_resource_value(rm().get_named(t, name_arg(key)));
  raise_error(2, key);
}

Value p_getpicture(Value id) { return make_resource_value(rm().get(FourCC::of("PICT"), id_arg(id))); }

Value p_get1resource(Value type, Value id) {
  return make_resource_value(rm().get1(type_arg(type), id_arg(id)));
}

Value p_count1types() { return fixnum(rm().count1_types()); }

Value p_get1indtype(Value index) {
  auto type = rm().get1_indexed_type(int_arg(index));
  return type ? make_string(type->view()) : make_string("");
}

Value p_count1resources(Value type) { return fixnum(rm().count1(type_arg(type))); }

Value p_get1indresource(Value type, Value index) {
  return make_resource_value(rm().get1_indexed(type_arg(type), int_arg(index)));
}

Value p_uniqueid(Value type) { return fixnum(rm().unique_id(type_arg(type))); }

// --- One resource -------------------------------------------------------------------------------

Value p_loadresource(Value r) {
  rm().load(handle_arg(r));
  return kNoValue;
}

Value p_releaseresource(Value r) {
  rm().release(handle_arg(r));
  return kNoValue;
}

Value p_detachresource(Value r) {
  rm().detach(handle_arg(r));
  if (rm().last_error() == ResError::none && is_pointer(r)) set_kind(r, PointerKind::handle);
  return kNoValue;
}

Value p_getresid(Value r) {
  auto info = rm().info(handle_arg(r));
  return fixnum(info ? info->id : 0);
}

Value p_getresname(Value r) {
  auto info = rm().info(handle_arg(r));
  return make_string(info ? info->name : std::string());
}

Value p_getresattrs(Value r) {
  auto info = rm().info(handle_arg(r));
  return fixnum(info ? info->attrs : 0);
}

Value p_sizeresource(Value r) { return make_integer(rm().size_of(handle_arg(r))); }

Value p_setresinfo(Value r, Value id, Value name) {
  std::uint32_t h = handle_arg(r);
  rm().set_info(h, id_arg(id), name_arg(name));
  return kNoValue;
}

Value p_setresattrs(Value r, Value attrs) {
  std::uint32_t h = handle_arg(r);
  rm().set_attrs(h, static_cast<std::uint8_t>(int_arg(attrs)));
  return kNoValue;
}

Value p_changedresource(Value r) {
  rm().changed(handle_arg(r));
  return kNoValue;
}

Value p_addresource(Value handle, Value type, Value id, Value name) {
  std::uint32_t h = handle_arg(handle);
  rm().add(h, type_arg(type), id_arg(id), name_arg(name));
  error_code_check(kNoValue);
  set_kind(handle, PointerKind::resource);
  return kNoValue;
}

Value p_rmveresource(Value r) {
  rm().remove(handle_arg(r));
  error_code_check(kNoValue);
  set_kind(r, PointerKind::handle);
  return kNoValue;
}

Value p_writeresource(Value r) {
  rm().write(handle_arg(r));
  return error_code_check(kNoValue);
}

// --- Records ---------------------------------------------------------------------------------

// The loaded data of a resource Value, copied (nothing for a dead handle).
std::vector<std::uint8_t> data_of(Value r, bool load) {
  std::uint32_t h = handle_arg(r);
  if (load) rm().load(h);
  if (!handle_is_plain(h)) return {};
  auto bytes = handle_bytes(h);
  return {bytes.begin(), bytes.end()};
}

Value p_get_strings_count(Value r) { return fixnum(string_list_count(data_of(r, false))); }

Value p_get_ind_string(Value list_id, Value index) {
  auto s = rm().indexed_string(id_arg(list_id), int_arg(index));
  return make_string(s ? *s : std::string());
}

Value p_get_nb_string(Value list_id) {
  std::uint32_t h = rm().get(FourCC::of("STR#"), id_arg(list_id));
  if (h == 0 || !handle_is_plain(h)) return fixnum(0);
  return fixnum(string_list_count(handle_bytes(h)));
}

Value p_help_get_offset(Value r, Value n) {
  return make_integer(help_offset(data_of(r, true), int_arg(n)));
}

Value p_help_get_no(Value r, Value offset) {
  return fixnum(help_number(data_of(r, true), int_arg(offset)));
}

Value p_help_get_all_name(Value r) {
  std::vector<std::uint8_t> data = data_of(r, true);
  std::vector<HelpRecord> records = help_records(data);
  Value list = kNil;
  for (auto it = records.rbegin(); it != records.rend(); ++it) list = cons(make_string(it->name), list);
  return list;
}

}  // namespace

// --- The module -----------------------------------------------------------------------------------

ResourceManager& resource_manager() {
  ResourceModule& m = module();
  if (!m.manager) m.manager = std::make_unique<ResourceManager>(m.store, run_time_file_refs());
  return *m.manager;
}

void close_all_resource_files() { resource_manager().close_all(); }

Value make_resource_value(std::uint32_t handle) { return make_handle_value(handle, PointerKind::resource); }

std::string resource_printed_form(Value resource) {
  std::uint32_t h = pointer_address(resource);
  ResourceManager& manager = resource_manager();
  if (!manager.owns(h)) return "<resource disposed>";
  ResError saved = manager.last_error();
  auto info = manager.info(h);
  std::int32_t size = manager.size_of(h);
  manager.restore_error(saved);
  std::string type(info->type.view());
  type = type.substr(0, type.find('\0'));
  char text[400];
  std::snprintf(text, sizeof text, "<resource %s %d \"%s\" %x of size %d>", type.c_str(), info->id,
                info->name.c_str(), h, size);
  return text;
}

void register_resources() {
  ResourceModule& m = module();
  m.manager.reset();
  run_time_file_refs() = FileRefTable{};
  m.manager = std::make_unique<ResourceManager>(m.store, run_time_file_refs());
  set_pointer_describer(PointerKind::resource, resource_printed_form);

  defprim("openresfile", p_openresfile);
  defprim("closeresfile", p_closeresfile);
  defprim("reserror", p_reserror);
  defprim("curresfile", p_curresfile);
  defprim("homeresfile", p_homeresfile);
  defprim("useresfile", p_useresfile);
  defprim("setresload", p_setresload);
  defprim("countresources", p_countresources);
  defprim("getindresource", p_getindresource);
  defprim("getresource", p_getresource);
  defprim("getpicture", p_getpicture);
  defprim("loadresource", p_loadresource);
  defprim("releaseresource", p_releaseresource);
  defprim("detachresource", p_detachresource);
  defprim("uniqueid", p_uniqueid);
  defprim("unique1id", p_uniqueid);
  defprim("getresid", p_getresid);
  defprim("getresname", p_getresname);
  defprim("getresattrs", p_getresattrs);
  defprim("sizeresource", p_sizeresource);
  defprim("setresinfo", p_setresinfo);
  defprim("setresattrs", p_setresattrs);
  defprim("changedresource", p_changedresource);
  defprim("addresource", p_addresource);
  defprim("rmveresource", p_rmveresource);
  defprim("updateresfile", p_updateresfile);
  defprim("writeresource", p_writeresource);
  defprim("getresfileattrs", p_getresfileattrs);
  defprim("setresfileattrs", p_setresfileattrs);
  defprim("count1types", p_count1types);
  defprim("get1indtype", p_get1indtype);
  defprim("count1resources", p_count1resources);
  defprim("get1indresource", p_get1indresource);
  defprim("get1resource", p_get1resource);
  defprim("get-strings-count", p_get_strings_count);
  defprim("get-ind-string", p_get_ind_string);
  defprim("get-nb-string", p_get_nb_string);
  defprim("help-get-offset", p_help_get_offset);
  defprim("help-get-no", p_help_get_no);
  defprim("help-get-all-name", p_help_get_all_name);
  defprim("openrf?", p_openrf);
  defprim("resource-fork-exists?", p_resource_fork_exists);
}

// --- What `format` and the interface objects ask of the resource files ------------------------------

std::optional<std::string> string_resource_text(std::int32_t id) {
  return resource_manager().string_resource(static_cast<std::int16_t>(id));
}

std::optional<std::string> string_list_text(std::int32_t id, std::int32_t index) {
  return resource_manager().indexed_string(static_cast<std::int16_t>(id), index);
}

}  // namespace orvane
