// Hash tables keep their slot arrays outside the indirect area (one slot per
// symbol-table entry). The collector marks them and, when a hash table's
// node dies, gives the array back.
#pragma once

#include <cstdint>

namespace orvane {

// Releases the slot array at that world address (word 1 of a hash-table node).
void release_hash_table_slots(std::uint32_t address);

}  // namespace orvane
