#pragma once

namespace orvane {

// Registers the built-in forms, the native special forms and the
// evaluator's primitives.
void register_evaluator();

}  // namespace orvane
