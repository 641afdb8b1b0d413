// What `format` asks of the resource files for its ~i directive. The
// resource layer defines these; until it exists no resource is found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// The text of the string resource with that number, or nothing.
std::optional<std::string> string_resource_text(std::int32_t id);
// Entry `index` (from 1) of the string-list resource with that number, or
// nothing when the resource or the entry does not exist.
std::optional<std::string> string_list_text(std::int32_t id, std::int32_t index);

}  // namespace orvane
