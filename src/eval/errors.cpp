// The error path and the non-local exits.
#include "eval/errors.h"

#include <cstdarg>
#include <cstdio>
#include <exception>
#include <string>

#include "core/symbols.h"
#include "eval/context.h"
#include "eval/eval.h"
#include "platform/host.h"
#include "reader/printer.h"

namespace orvane {

// --- Error state ----------------------------------------------------------------

namespace {
struct ErrorState {
  bool printing = false;
  bool loading_module = false;
  int handler_depth = 0;
  std::uint64_t count = 0;
  char text[1024] = "";
};
ErrorState g_error;

class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }

 private:
  bool& flag_;
};
}  // namespace

const char* last_error_text() { return g_error.text; }
std::uint64_t errors_raised() { return g_error.count; }

// --- Context records that need the evaluator ----------------------------------------

Cleanup::Cleanup(Routine routine, Value data)
    : Context(Kind::cleanup), routine_(routine), slot_(g_mem.lisp_stack_top), saved_top_(g_mem.lisp_stack_top),
      exits_in_flight_at_creation_(std::uncaught_exceptions()) {
  lisp_push(data);
}

Cleanup::~Cleanup() noexcept(false) {
  Value data = *lisp_stack_host(slot_);
  Routine routine = routine_;
  // The record leaves the chain before its routine runs, as a popped record.
  if (routine) {
    if (std::uncaught_exceptions() > exits_in_flight_at_creation_) {
      // A throw out of a cleanup while another exit unwinds: the first exit
      // goes on.
      try {
        routine(data);
      } catch (const Thrower&) {
      } catch (const ErrorPrinting&) {
      }
    } else {
      routine(data);
    }
  }
  g_mem.lisp_stack_top = saved_top_;
}

Catcher::Catcher(Value tag)
    : Context(Kind::catcher), slot_(g_mem.lisp_stack_top), saved_top_(g_mem.lisp_stack_top),
      saved_event_flag_(g_event_poll.event_flag) {
  lisp_push(tag);
}

bool catch_active(Value tag) {
  for (Context* c = Context::innermost(); c; c = c->link())
    if (c->kind() == Context::Kind::catcher && static_cast<Catcher*>(c)->tag() == tag) return true;
  return false;
}

// --- Throw ------------------------------------------------------------------------------

void throw_value(Value tag, Value value) {
  if (!catch_active(tag)) raise_error(17, tag);
  throw Thrower(tag, value);
}

// With no catch for toplevel active the throw still ends the evaluation:
// every entry point into Lisp catches Thrower.
void throw_to_toplevel() { throw Thrower(g_sym.toplevel, kNil); }
void throw_to_cancel() { throw_value(g_sym.cancel, kNil); }

// --- The error path --------------------------------------------------------------------

namespace {

// The internal-error alert of the host, shown when no Error-Handler takes
// the error; with no text (an error while the error module loads) the
// alert's own message.
void internal_error(const char* text) {
  platform::host().internal_error_alert(
      text && *text ? text : "An error has occured.  You should save your file, quit and reload the software.");
}

std::string text_of(Value v) { return value_to_text(v); }

void load_error_module() {
  Value module = symbol_global(g_sym.error_module);
  Value loader = symbol_global(g_sym.load_module);
  if (module == kNil || module == kNoValue || loader == kNoValue) return;
  FlagGuard guard(g_error.loading_module);
  call(loader, {module});
}

[[noreturn]] void dispatch(Value klass, Value code, Value culprit) {
  load_error_module();
  Value handler = symbol_global(g_sym.error_handler);
  if (handler == kNil || handler == kNoValue || g_error.handler_depth > 3) {
    internal_error(g_error.text);
  } else {
    ++g_error.handler_depth;
    struct Depth {
      ~Depth() { --g_error.handler_depth; }
    } depth;
    send(handler, g_sym.error_trap, {klass, code, culprit, g_mem.self, kNil, kNil});
  }
  throw_to_toplevel();
}

[[noreturn]] void error_path(int klass, int code, Value culprit) {
  ++g_error.count;
  if (culprit.tag() == tag::address) culprit = kNil;
  if (g_error.printing) throw ErrorPrinting{};
  if (g_error.loading_module) {
    internal_error(nullptr);
    throw_to_toplevel();
  }
  {
    FlagGuard guard(g_error.printing);
    try {
      std::string text = "Error: " + std::to_string(code) + ", " + text_of(culprit) + ", " +
                         text_of(g_mem.self) + ", nil, nil";
      std::snprintf(g_error.text, sizeof g_error.text, "%s", text.c_str());
    } catch (const ErrorPrinting&) {
      std::snprintf(g_error.text, sizeof g_error.text, "Unprintable error");
    } catch (const Thrower&) {
      std::snprintf(g_error.text, sizeof g_error.text, "Unprintable error");
    }
  }
  dispatch(make_fixnum(klass), make_fixnum(code), culprit == kAbsent ? kNil : culprit);
}

}  // namespace

void raise_error(int code, Value culprit) { error_path(kErrorClassLisp, code, culprit); }
void raise_database_error(int code, Value culprit) { error_path(kErrorClassDatabase, code, culprit); }

void report(const char* format, ...) {
  char message[1000];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(message, sizeof message, format, ap);
  va_end(ap);
  ++g_error.count;
  if (g_error.printing) throw ErrorPrinting{};
  if (g_error.loading_module) {
    internal_error(nullptr);
    throw_to_toplevel();
  }
  std::snprintf(g_error.text, sizeof g_error.text, "Error: %s", message);
  dispatch(kNil, make_fixnum(0), make_string(message));
}

}  // namespace orvane
