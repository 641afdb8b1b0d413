// What the collector asks of the object system about its records (class
// records, instance records, slot descriptors) in the indirect area.
#pragma once

#include <cstdint>

#include "core/value.h"

namespace orvane {

// Size in bytes of the record behind an indirect node with this header tag
// (0x37, 0x38 or 0x39); `node_offset` is the indirect node's offset.
std::uint32_t object_record_size(std::uint32_t header_tag, std::uint32_t node_offset);
// Calls mark on every Value the record holds.
void mark_object_record(std::uint32_t header_tag, std::uint32_t node_offset, void (*mark)(Value));

}  // namespace orvane
