// Entry points into Lisp from native code that must not let a throw escape:
// the command line, the tests, and later the event loop.
#pragma once

#include "core/value.h"

namespace orvane {

struct TopLevelResult {
  Value value = kNoValue;
  bool completed = false;  // false: a throw or an error ended the evaluation
};

// Evaluates one top-level form. A throw that no catch stops, and every error
// once reported, ends the evaluation in order. A form that uses logic
// variables outside a function gets a frame of its own.
TopLevelResult eval_toplevel(Value form);
// The same evaluation for a form read from a file being loaded: throws and
// errors go on to whoever catches them.
Value eval_top_level_form(Value form);

// The throw stopped by a protected send, re-raised by the event loop.
void set_pending_throw(Value tag, Value value);
bool take_pending_throw(Value& tag, Value& value);

}  // namespace orvane
