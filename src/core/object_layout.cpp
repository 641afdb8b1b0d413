#include "core/object_layout.h"

namespace orvane {

namespace {

constexpr ObjectModel kNoObjectSystem = {
    [](std::uint32_t, std::uint32_t) -> std::uint32_t { return 0; },
    [](std::uint32_t, std::uint32_t, void (*)(Value)) {},
    [](Value) { return kNil; },
    [](Value, Value) { return false; },
};

// Set once by the objects module's registration.
ObjectModel g_object_model = kNoObjectSystem;

}  // namespace

void install_object_model(const ObjectModel& model) { g_object_model = model; }
const ObjectModel& object_model() { return g_object_model; }

}  // namespace orvane
