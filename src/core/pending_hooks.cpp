// Defaults for hooks whose owners arrive with later subsystems. Each owner
// removes its default from here when it defines the real one.
#include <string>

#include "core/core_primitives.h"
#include "core/memory.h"
#include "core/hash_storage.h"
#include "core/object_layout.h"
#include "eval/errors.h"
#include "eval/evaluator_internal.h"
#include "eval/specials.h"

namespace orvane {


// Until memory handles exist, the source is a string holding the list's bytes.
std::string symbol_list_bytes(Value source) {
  if (!is_string(source)) raise_error(2, source);
  return std::string(string_view_of(source));
}

// Until memory blocks exist there is nothing to free.
void dispose_memory_block(Value) {}

// Until defstruct exists no structure is registered.
Value struct_description(Value) { return kNoValue; }

// Until interface objects exist no property is found.
Value search_property(Value) { return kNil; }


// Until classes exist there are no object records.
std::uint32_t object_record_size(std::uint32_t, std::uint32_t) { return 0; }
void mark_object_record(std::uint32_t, std::uint32_t, void (*)(Value)) {}

// Until hash tables exist there is no slot array to release.
void release_hash_table_slots(std::uint32_t) {}

}  // namespace orvane
