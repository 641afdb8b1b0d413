// The configuration classes `obj-static-data`, `obj-persistence` and
// `obj-interface`, created at start-up under `obj-root`.
#pragma once

#include "core/value.h"

namespace orvane {

// The native constructors of the three classes' peers.
Value make_static_data_peer();
Value make_persistence_peer();
Value make_interface_peer();

// Creates the three classes and registers their methods.
void register_persistence_classes();

}  // namespace orvane
