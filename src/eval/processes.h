// Cooperative processes: Lisp functions run again and again at an interval
// (plain processes) or driving a timed animation (clock processes). One due
// process runs per call of `give-time`.
#pragma once

#include "core/value.h"

namespace orvane {

void register_processes();
// Removes and destroys every process (the run-time's quit).
void quit_processes();

}  // namespace orvane
