#include "lib/streams.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/blocks.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "platform/clock.h"
#include "platform/host.h"
#include "reader/destination.h"
#include "reader/reader.h"

namespace orvane {

namespace {

constexpr std::uint32_t kHandleGrowth = 1024;
constexpr std::size_t kEditLineLength = 98;

// The edit input buffer and the edit output line: part of the run-time's
// terminal state, reset when a run-time registers its modules.
struct EditState {
  WorldAddress input = 0;  // a pointer block, or 0
  std::uint32_t input_size = 0;
  std::uint32_t input_position = 0;
  std::string output_line;
};

EditState& edit_state() {
  static EditState state;
  return state;
}

Value boolean(bool b) { return b ? g_sym.t : kNil; }

std::uint32_t count_of(Value v) {
  std::int32_t n = integer_of(v);
  if (n < 0) raise_error(2, v);
  return static_cast<std::uint32_t>(n);
}

std::uint32_t count_or_zero(Value v) { return v == kNil ? 0 : count_of(v); }

// --- Record words --------------------------------------------------------------------

std::uint32_t get_word(Value record, std::uint32_t offset) {
  const std::uint8_t* p = checked_bytes(address_of(record) + offset, 4, Access::read, record);
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

void set_word(Value record, std::uint32_t offset, std::uint32_t x) {
  std::uint8_t* p = checked_bytes(address_of(record) + offset, 4, Access::write, record);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(x >> (8 * i));
}

Value new_record(std::uint32_t size) {
  return make_pointer(new_pointer_or_fail(size), PointerKind::memory_pointer);
}

// Moves a handle record's bytes to a new handle `extra` bytes larger and
// disposes the old handle.
void grow_handle_record(Value record, std::uint32_t extra) {
  std::uint32_t capacity = get_word(record, handle_record::capacity);
  std::uint64_t wanted = std::uint64_t{capacity} + extra;
  if (wanted > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) raise_error(9, record);
  HandleId fresh = new_handle_or_fail(static_cast<std::uint32_t>(wanted));
  // Re-read the record: the allocation may have purged blocks.
  std::uint32_t position = get_word(record, handle_record::position);
  std::uint32_t kept = std::min(position, capacity);
  WorldAddress old_address = get_word(record, handle_record::address);
  HandleId old_handle = get_word(record, handle_record::handle);
  if (kept > 0) {
    const std::uint8_t* from = find_bytes(old_address, kept, Access::read);
    if (!from) {
      dispose_handle(fresh);
      raise_error(2, record);
    }
    std::memcpy(handle_bytes(fresh).data(), from, kept);
  }
  if (handle_is_plain(old_handle)) dispose_handle(old_handle);
  set_word(record, handle_record::capacity, static_cast<std::uint32_t>(wanted));
  set_word(record, handle_record::address, lock_handle(fresh));
  set_word(record, handle_record::handle, fresh);
}

// Reads the byte at a record's position, advancing it; -1 at the end. Each
// byte read gives the background event poll its chance.
int record_getc(Value record, std::uint32_t limit_offset) {
  poll_events();
  std::uint32_t position = get_word(record, 0);
  if (position >= get_word(record, limit_offset)) return -1;
  WorldAddress at = get_word(record, 8) + position;
  int c = *checked_bytes(at, 1, Access::read, record);
  set_word(record, 0, position + 1);
  return c;
}

// --- Edit input buffer ------------------------------------------------------------------

void drop_edit_input() {
  EditState& s = edit_state();
  if (s.input != 0 && is_pointer_block(s.input)) dispose_pointer(s.input);
  s.input = 0;
  s.input_size = 0;
  s.input_position = 0;
}

bool edit_input_pending() {
  const EditState& s = edit_state();
  return s.input != 0 && s.input_position < s.input_size;
}

// The printer's destination object, as a port object.
Value output_port_object() {
  Value object = current_destination_object();
  return object == kNil ? kNoObject : object;
}

// --- Primitives ----------------------------------------------------------------------------

Value p_new_handle_struct(Value position, Value capacity, Value address, Value handle) {
  std::uint32_t pos = count_or_zero(position);
  std::uint32_t cap = count_or_zero(capacity);
  WorldAddress at = address == kNil ? 0 : address_of(address);
  HandleId h = handle == kNil ? 0 : handle_of(handle);
  Value record = new_record(handle_record::size);
  if (handle == kNil) h = new_handle_or_fail(0);
  if (address == kNil && handle != kNil && handle_size(h) > 0) at = lock_handle(h);
  set_word(record, handle_record::position, pos);
  set_word(record, handle_record::capacity, cap);
  set_word(record, handle_record::address, at);
  set_word(record, handle_record::handle, h);
  return record;
}

Value p_adjust_handle_struct(Value record) {
  HandleId h = get_word(record, handle_record::handle);
  if (!handle_is_plain(h)) raise_error(2, record);
  unlock_handle(h);
  if (!set_handle_size(h, get_word(record, handle_record::position))) raise_error(9, record);
  // The record no longer owns the handle: the address it held may move.
  set_word(record, handle_record::address, 0);
  set_word(record, handle_record::handle, 0);
  return make_handle_value(h);
}

Value p_handle_write_block(Value record, Value address, Value n) {
  std::uint32_t count = count_of(n);
  // The source may lie in the record's own handle, which growing disposes.
  const std::uint8_t* src = checked_bytes(address_of(address), count, Access::read, address);
  std::vector<std::uint8_t> bytes(src, src + count);
  std::uint32_t position = get_word(record, handle_record::position);
  if (std::uint64_t{position} + count > get_word(record, handle_record::capacity)) {
    if (count > std::numeric_limits<std::uint32_t>::max() - kHandleGrowth) raise_error(9, n);
    grow_handle_record(record, count + kHandleGrowth);
  }
  WorldAddress at = get_word(record, handle_record::address) + position;
  if (count > 0) std::memcpy(checked_bytes(at, count, Access::write, record), bytes.data(), count);
  set_word(record, handle_record::position, position + count);
  return kNoValue;
}

Value p_handle_get_pos(Value record) {
  return make_integer(static_cast<std::int32_t>(get_word(record, handle_record::position)));
}

Value p_handle_set_pos(Value record, Value position) {
  set_word(record, handle_record::position, count_of(position));
  return position;
}

Value p_handle_eof_p(Value record) {
  return boolean(get_word(record, handle_record::position) >= get_word(record, handle_record::capacity));
}

Value p_new_buffer_struct(Value position, Value size, Value address) {
  std::uint32_t pos = count_or_zero(position);
  std::uint32_t n = count_or_zero(size);
  WorldAddress at = address == kNil ? 0 : address_of(address);
  Value record = new_record(buffer_record::size);
  set_word(record, buffer_record::position, pos);
  set_word(record, buffer_record::size_field, n);
  set_word(record, buffer_record::address, at);
  return record;
}

Value p_buffer_set_pos(Value record, Value position) {
  set_word(record, buffer_record::position, count_of(position));
  return position;
}

Value p_set_lecture(Value pointer, Value n) {
  WorldAddress at = address_of(pointer);
  if (!is_pointer_block(at)) raise_error(2, pointer);
  std::uint32_t size = count_of(n);
  if (size > pointer_block_size(at)) raise_error(2, n);
  drop_edit_input();
  EditState& s = edit_state();
  s.input = at;
  s.input_size = size;
  s.input_position = 0;
  node_of(pointer).w1 = 0;
  return kNoValue;
}

Value p_eof_lecture_p() { return boolean(!edit_input_pending()); }

Value p_general_putc(Value c, Value method) {
  SelfBinding binding(output_port_object());
  return call(method, {c});
}

Value p_general_getc(Value method) {
  SelfBinding binding(current_source_object());
  return call(method, {});
}

// The Lisp faces of the port routines. They exist for the port machinery,
// which takes the native routine out of the descriptor; from Lisp only the
// two that need no record do anything.
Value p_port_output_routine() { raise_error(47, kNil); }
Value p_port_input_routine() { raise_error(47, kNil); }
Value p_buffer_input_routine() { raise_error(47, kNil); }
Value p_editputc_routine() { raise_error(47, kNil); }
Value p_editgetc_routine() { return make_fixnum(edit_getc(kNil)); }
Value p_edit_wait_routine() {
  edit_wait();
  return kNoValue;
}

}  // namespace

// --- Port routines ---------------------------------------------------------------------

void handle_putc(int c, Value record) {
  std::uint32_t position = get_word(record, handle_record::position);
  if (position >= get_word(record, handle_record::capacity)) grow_handle_record(record, kHandleGrowth);
  WorldAddress at = get_word(record, handle_record::address) + position;
  *checked_bytes(at, 1, Access::write, record) = static_cast<std::uint8_t>(c);
  set_word(record, handle_record::position, position + 1);
}

int handle_getc(Value record) { return record_getc(record, handle_record::capacity); }
int buffer_getc(Value record) { return record_getc(record, buffer_record::size_field); }

int edit_getc(Value) {
  EditState& s = edit_state();
  if (s.input == 0) return -1;
  const std::uint8_t* p = s.input_position < s.input_size ? find_bytes(s.input + s.input_position, 1, Access::read)
                                                           : nullptr;
  if (!p) {
    drop_edit_input();
    return -1;
  }
  int c = *p;
  if (++s.input_position >= s.input_size) drop_edit_input();
  return c;
}

// Passes of the event pump until the edit input buffer holds a character.
// Gives up at once when no event can bring one: on a host without an event
// pump, or inside a pass (no event comes before the pass ends).
void edit_wait() {
  platform::Clock& clock = platform::clock();
  while (!edit_input_pending()) {
    if (!platform::host().has_event_pump() || !run_event_pass()) return;
    if (!edit_input_pending()) clock.wait_until(clock.milliseconds() + kWaitStepMs);
  }
}

void flush_edit_output() {
  EditState& s = edit_state();
  if (s.output_line.empty()) return;
  std::string line = std::move(s.output_line);
  s.output_line.clear();
  Value port = output_port_object();
  if (port == kNoObject) {
    platform::host().write_terminal(line);
    platform::host().flush_terminal();
    return;
  }
  send(port, intern_constant("print-string"), {make_string(line)});
}

void edit_putc(int c, Value) {
  if (edit_state().output_line.size() >= kEditLineLength) flush_edit_output();
  edit_state().output_line.push_back(static_cast<char>(c));
}

namespace {

struct ModulePortRoutines {
  ErasedFn fn;
  PortGetc getc;
  PortPutc putc;
};

std::vector<ModulePortRoutines>& module_port_routines() {
  static std::vector<ModulePortRoutines> routines;
  return routines;
}

const ModulePortRoutines* module_routines_of(ErasedFn fn) {
  for (const auto& r : module_port_routines())
    if (r.fn == fn) return &r;
  return nullptr;
}

}  // namespace

void add_port_routines(void (*fn)(), PortGetc getc, PortPutc putc) {
  if (!module_routines_of(fn)) module_port_routines().push_back({fn, getc, putc});
}

PortPutc port_putc_routine(Value descriptor) {
  if (descriptor.tag() != tag::primitive) return nullptr;
  auto fn = primitive_of(descriptor).fn;
  if (fn == reinterpret_cast<ErasedFn>(p_port_output_routine)) return handle_putc;
  if (fn == reinterpret_cast<ErasedFn>(p_editputc_routine)) return edit_putc;
  if (const auto* r = module_routines_of(fn)) return r->putc;
  return nullptr;
}

PortGetc port_getc_routine(Value descriptor) {
  if (descriptor.tag() != tag::primitive) return nullptr;
  auto fn = primitive_of(descriptor).fn;
  if (fn == reinterpret_cast<ErasedFn>(p_port_input_routine)) return handle_getc;
  if (fn == reinterpret_cast<ErasedFn>(p_buffer_input_routine)) return buffer_getc;
  if (fn == reinterpret_cast<ErasedFn>(p_editgetc_routine)) return edit_getc;
  if (const auto* r = module_routines_of(fn)) return r->getc;
  return nullptr;
}

void register_streams() {
  edit_state() = EditState{};
  defprim("new-handle-struct", p_new_handle_struct, arity::system);
  defprim("adjust-handle-struct", p_adjust_handle_struct, arity::system);
  defprim("handle-write-block", p_handle_write_block, arity::system);
  defprim("handle-get-pos", p_handle_get_pos, arity::system);
  defprim("handle-set-pos", p_handle_set_pos, arity::system);
  defprim("handle-eof?", p_handle_eof_p, arity::system);
  defprim("new-buffer-struct", p_new_buffer_struct, arity::system);
  defprim("buffer-set-pos", p_buffer_set_pos, arity::system);
  defprim("set-lecture", p_set_lecture, arity::system);
  defprim("eof-lecture?", p_eof_lecture_p, arity::system);
  defprim("general-putc", p_general_putc, arity::system);
  defprim("general-getc", p_general_getc, arity::system);
  defprim("handle-putc", p_port_output_routine, arity::system);
  defprim("handle-getc", p_port_input_routine, arity::system);
  defprim("buffer-getc", p_buffer_input_routine, arity::system);
  defprim("editgetc", p_editgetc_routine, arity::system);
  defprim("editputc", p_editputc_routine, arity::system);
  defprim("edit-wait", p_edit_wait_routine, arity::system);
}

}  // namespace orvane
