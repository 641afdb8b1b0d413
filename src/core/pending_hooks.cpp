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

// Until the clause engine exists no logic variable is ever bound.
bool variable_bound(Value) { return false; }

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

// Until the clause engine exists, clauses cannot be made or proved.
Value make_clause(Value form, std::uint32_t) { raise_error(47, form); }
Value call_predicate(Value predicate, Value) { raise_error(5, predicate); }
Value deref_bound_term(Value term) { return term; }

// Until classes exist there are no object records.
std::uint32_t object_record_size(std::uint32_t, std::uint32_t) { return 0; }
void mark_object_record(std::uint32_t, std::uint32_t, void (*)(Value)) {}

// Until hash tables exist there is no slot array to release.
void release_hash_table_slots(std::uint32_t) {}

}  // namespace orvane
