#include "shell/session.h"

#include <memory>
#include <string>

#include "core/collector.h"
#include "core/runtime.h"
#include "eval/errors.h"
#include "eval/toplevel.h"
#include "platform/host.h"
#include "reader/destination.h"
#include "reader/printer.h"
#include "shell/modules.h"
#include "storage/database_module.h"
#include "storage/files_module.h"
#include "storage/resources.h"

namespace orvane::shell {

struct LispSession::Impl {
  Runtime runtime;
  Impl(const MemoryConfig& config, ModuleRegistration register_modules)
      : runtime(config, register_modules ? register_modules : register_all_modules) {}
};

LispSession::LispSession(const MemoryConfig& config, ModuleRegistration register_modules)
    : impl_(std::make_unique<Impl>(config, register_modules)) {
  clean_up_temporary_files();
}

// Open resource files and databases are written and closed, as at quit.
LispSession::~LispSession() {
  flush_terminal();
  close_all_databases();
  close_all_resource_files();
}

bool LispSession::eval_datum(Value datum, Value* result) {
  std::uint64_t errors_before = errors_raised();
  std::uint64_t exhausted_before = out_of_memory_count();
  TopLevelResult r = eval_toplevel(datum);
  flush_terminal();
  if (result) *result = r.completed ? r.value : kNoValue;
  // An error that a handler turned into a throw elsewhere did not reach the
  // toplevel; one that ended the form did, and so did running out of memory.
  if (r.completed) return true;
  return errors_raised() == errors_before && out_of_memory_count() == exhausted_before;
}

void LispSession::show_result(Value value) {
  std::string text = print_to_string(value, PrintStyle::readable, std::string::npos);
  text += '\r';
  platform::host().write_terminal(text);
  flush_terminal();
}

bool LispSession::run_source(CharSource& source) {
  bool ok = true;
  DatumReader reader(source);
  for (;;) {
    std::uint64_t errors_before = errors_raised();
    std::optional<Value> datum;
    try {
      datum = reader.next();
    } catch (const Thrower&) {
      ok = false;
      continue;  // the reader goes on after the error
    } catch (const ErrorPrinting&) {
      ok = false;
      continue;
    }
    if (errors_raised() != errors_before) ok = false;
    if (!datum) break;
    ok = eval_datum(*datum) && ok;
  }
  return ok;
}

}  // namespace orvane::shell
