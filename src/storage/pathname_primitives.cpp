// The pathname primitives: conversions between pathnames and
// operating-system paths, comparisons and the parts of a pathname.
#include <string>
#include <vector>

#include "core/primitives.h"
#include "eval/eval.h"
#include "platform/host_paths.h"
#include "storage/file_arguments.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

Value value_of_symbol(Value symbol) {
  Value v = lookup_symbol(symbol);
  if (v == kNoValue) raise_error(6, symbol);
  return v;
}

// A pathname list as the part primitives see it: a symbol, or a list of
// one symbol, stands for the symbol's value.
Value pathname_list(Value p) {
  if (is_symbol(p)) p = value_of_symbol(p);
  if (is_pair(p) && is_nil(cdr(p)) && is_symbol(car(p))) p = value_of_symbol(car(p));
  return p;
}

Value list_from(const std::vector<std::string>& texts) {
  Value list = kNil;
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) list = cons(make_string(*it), list);
  return list;
}

Value p_parse_pathname(Value path) { return make_string(os_path_of(path)); }

Value p_os_to_orvane(Value os_path) {
  if (!is_string(os_path)) raise_error(2, os_path);
  return pathname_of_os_path(std::string(string_view_of(os_path)));
}

// (drive directories name): the drive "X:", "" for a rooted path without
// one, nil for a relative path; so the list converts back to the same path.
Value p_make_pathname(Value path) {
  std::string os = os_path_of(path);
  std::string_view rest = os;
  std::string drive;
  bool has_drive = rest.size() >= 2 && rest[1] == ':';
  if (has_drive) {
    drive = std::string(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  bool rooted = !rest.empty() && rest[0] == '\\';
  if (rooted) rest.remove_prefix(1);
  std::vector<std::string> components;
  while (!rest.empty()) {
    std::size_t cut = rest.find('\\');
    if (cut != 0) components.emplace_back(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  std::string name;
  if (!components.empty()) {
    name = std::move(components.back());
    components.pop_back();
  }
  Value name_value = make_string(name);
  Value directories = list_from(components);
  Value drive_value = has_drive || rooted ? make_string(drive) : kNil;
  return list_of({drive_value, directories, name_value});
}

Value p_pathname_equal_p(Value a, Value b) {
  return boolean_value(platform::names_equal_ignoring_case(os_path_of(a), os_path_of(b)));
}

// The first path is a prefix of the second that ends at a component boundary.
Value p_pathname_inclusion(Value a, Value b) {
  std::string outer = os_path_of(a), inner = os_path_of(b);
  if (outer.size() > inner.size()) return kNil;
  if (!platform::names_equal_ignoring_case(outer, std::string_view(inner).substr(0, outer.size()))) return kNil;
  bool boundary = outer.size() == inner.size() || inner[outer.size()] == '\\' ||
                  (!outer.empty() && (outer.back() == '\\' || outer.back() == ':'));
  return boolean_value(boundary);
}

Value p_pathname_name(Value path) {
  Value p = pathname_list(path);
  if (is_string(p) || is_nil(p)) return p;
  if (!is_pair(p)) raise_error(2, path);
  while (is_pair(cdr(p))) p = cdr(p);
  return car(p);
}

Value p_pathname_directory(Value path) {
  Value p = pathname_list(path);
  if (is_string(p) || is_nil(p)) return kNil;
  if (!is_pair(p)) raise_error(2, path);
  std::vector<Value> kept;  // Values of the argument list, which stays reachable
  for (; is_pair(cdr(p)); p = cdr(p)) kept.push_back(car(p));
  Value list = kNil;
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) list = cons(*it, list);
  return list;
}

Value first_string(Value p, int depth) {
  if (depth > 64) raise_error(2, p);
  if (is_string(p)) return p;
  if (is_symbol(p)) return first_string(value_of_symbol(p), depth + 1);
  for (; is_pair(p); p = cdr(p))
    if (Value s = first_string(car(p), depth + 1); s != kNil) return s;
  return kNil;
}

Value p_pathname_volume(Value path) { return first_string(path, 0); }

Value p_resource_pathname_p(Value v) { return boolean_value(is_integer(v) || is_real(v) || is_string(v)); }

}  // namespace

void register_pathname_primitives() {
  defprim("parse-pathname", p_parse_pathname);
  defprim("orvane->os", p_parse_pathname);
  defprim("os->orvane", p_os_to_orvane);
  defprim("make-pathname", p_make_pathname);
  defprim("pathname=?", p_pathname_equal_p);
  defprim("pathname-inclusion", p_pathname_inclusion);
  defprim("pathname-name", p_pathname_name);
  defprim("pathname-directory", p_pathname_directory);
  defprim("pathname-volume", p_pathname_volume);
  defprim("resource-pathname?", p_resource_pathname_p);
}

}  // namespace orvane
