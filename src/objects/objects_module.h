#pragma once

namespace orvane {

// Registers the object system: its symbols, primitives and special forms,
// the root class `obj-root`, and the configuration classes under it.
void register_objects();
// Registers `defstruct` (part of register_objects).
void register_structs();

}  // namespace orvane
