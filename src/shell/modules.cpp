// Every native module's registration routine, in start-up order.
#include "core/core_primitives.h"
#include "core/runtime.h"
#include "eval/eval_module.h"

namespace orvane {

void register_all_modules() {
  register_core();
  register_evaluator();
}

}  // namespace orvane
