// The shell's module list: what a run-time registers, in start-up order.
#pragma once

namespace orvane {

// Every native module's registration routine, in start-up order; the routine
// the shell hands to a Runtime.
void register_all_modules();

}  // namespace orvane
