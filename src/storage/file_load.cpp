// `load` and `load-from-handle`: Lisp source read form by form and
// evaluated, with events held back and no current object. An error or a
// throw in a form leaves the load there (the rest is not evaluated) and
// goes on to whoever catches it; everything set for the load is put back.
#include <string>

#include "core/blocks.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "reader/reader.h"
#include "storage/file_arguments.h"
#include "storage/file_errors.h"
#include "storage/pathnames.h"

namespace orvane {

namespace {

// Raises the event flag for the scope: the evaluator does not poll events.
class EventsHeldBack {
 public:
  EventsHeldBack() : saved_(g_event_poll.event_flag) { g_event_poll.event_flag = saved_ + 1; }
  ~EventsHeldBack() { g_event_poll.event_flag = saved_; }
  EventsHeldBack(const EventsHeldBack&) = delete;
  EventsHeldBack& operator=(const EventsHeldBack&) = delete;

 private:
  int saved_;
};

// Gives a global variable a value for the scope.
class GlobalBinding {
 public:
  GlobalBinding(Value symbol, Value value) : symbol_(symbol), saved_(symbol_global(symbol)) {
    set_symbol_global(symbol, value);
  }
  ~GlobalBinding() { set_symbol_global(symbol_, saved_); }
  GlobalBinding(const GlobalBinding&) = delete;
  GlobalBinding& operator=(const GlobalBinding&) = delete;

 private:
  Value symbol_;
  Value saved_;  // on the native stack, which the collector scans
};

// Reads and evaluates every form of the text. The text is a copy, so that
// the forms may move or free the block it came from.
void evaluate_forms(std::string text) {
  EventsHeldBack held;
  SelfBinding no_object(kNoObject);
  TextSource source(std::move(text));
  DatumReader reader(source);
  while (std::optional<Value> form = reader.next()) eval_top_level_form(*form);
}

Value p_load(Value path) {
  std::string host = host_path_of(path);
  std::string text;
  {
    platform::File file = open_or_raise(host, 0, false, path);
    std::uint64_t size = 0;
    if (int err = file.size(size)) raise_system_file_error(err, path);
    text.resize(size);
    std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
    if (int err = file.read_exact(0, bytes)) raise_system_file_error(err, path);
  }
  if (!text.empty()) evaluate_forms(std::move(text));
  return kNoValue;
}

Value p_load_from_handle(Value handle, Value id) {
  HandleId h = handle_of(handle);
  std::span<const std::uint8_t> bytes = handle_bytes(h);
  std::string text(bytes.begin(), bytes.end());
  GlobalBinding load_file(intern_constant("Load-File"), id);
  evaluate_forms(std::move(text));
  return kNoValue;
}

}  // namespace

void register_file_load() {
  defprim("load", p_load);
  defprim("load-from-handle", p_load_from_handle);
}

}  // namespace orvane
