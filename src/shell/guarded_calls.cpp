#include "shell/guarded_calls.h"

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/toplevel.h"
#include "ui/window_layer.h"

namespace orvane::shell {

void keep_pending_throw(Value tag, Value value) { set_pending_throw(tag, value); }

Value guarded_send(Value object, std::string_view selector, std::initializer_list<Value> args) {
  if (object == kNil || object == kNoValue) return kNoValue;
  // A message the world does not define is not sent: titles define only
  // the messages they care about.
  if (ui::value_in_object(object, selector) == kNoValue) return kNoValue;
  return protected_send(object, intern(selector), std::span<const Value>(args.begin(), args.size()));
}

Value guarded_call(std::string_view function, std::initializer_list<Value> args) {
  Value fn = symbol_global(intern(function));
  if (fn == kNoValue) return kNoValue;
  try {
    return call(fn, args);
  } catch (const Thrower& t) {
    keep_pending_throw(t.tag(), t.value());
    return kNoValue;
  }
}

void carry_on_after_dispatch() {
  if (auto code = dispatch_state().pending_quit) {
    dispatch_state().pending_quit.reset();
    throw QuitRequest{*code};
  }
  Value tag = kNil, value = kNil;
  if (!take_pending_throw(tag, value)) return;
  if (catch_active(tag)) throw Thrower(tag, value);
  if (tag == g_sym.toplevel) return;
  raise_error(17, tag);
}

}  // namespace orvane::shell
