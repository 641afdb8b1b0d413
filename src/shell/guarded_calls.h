// Lisp run from inside a desktop dispatch. Every message the dispatcher
// sends runs in a catch frame of its own: a throw escaping the handler is
// kept as the pending throw and the send answers no-value. Nothing unwinds
// through the desktop's frames: the window procedures stop what is left
// (a throw out of native code, a quit) at their boundary, and the pump
// carries it on once the dispatch has returned.
#pragma once

#include <initializer_list>
#include <string_view>

#include "core/errors.h"
#include "core/value.h"
#include "platform/desktop/message.h"
#include "shell/dispatch_state.h"
#include "shell/title_shell.h"

namespace orvane::shell {

// `selector` to a Lisp object: no-value when a throw escaped, and nothing
// sent for nil or when the selector is unbound in the object's context.
Value guarded_send(Value object, std::string_view selector, std::initializer_list<Value> args = {});
// A global function of the world; no-value when unbound or when a throw escaped.
Value guarded_call(std::string_view function, std::initializer_list<Value> args = {});

// Keeps a throw that escaped for the pump to carry on.
void keep_pending_throw(Value tag, Value value);

// Runs a window procedure's work; a throw, an error report's end or a quit
// stops here, to be carried on by the pump. The answer is 0 then.
template <class Work>
desktop::LResult at_dispatch_boundary(Work&& work) {
  try {
    return work();
  } catch (const Thrower& t) {
    keep_pending_throw(t.tag(), t.value());
  } catch (const ErrorPrinting&) {
    // The error path has reported what it could.
  } catch (const QuitRequest& quit) {
    dispatch_state().pending_quit = quit.code;
  }
  return 0;
}

// After a dispatch: a quit met inside it is carried out; a throw that
// escaped a handler continues to its catch, or raises error 17 with the tag
// when none waits (a throw to the toplevel ending an error report that no
// catch awaits is done: the report was the toplevel's answer).
void carry_on_after_dispatch();

}  // namespace orvane::shell
