// The lookup index beside the symbol table.
//
// The table's own probe (the original hash, one-entry steps, a text compare
// at every step) decides where each symbol goes, and so the table order that
// `mapatoms` and `for-each-hash` show. Under that hash, names that differ only
// in their last characters ("fn-1233", "fn-1234") share home entries, and a
// title's thousands of such names form runs thousands of entries long. The
// index answers the probe's question without walking those runs: a second
// open-addressed table keyed by a strong hash of the name finds a present name
// in a step or two (a word compare a step), and a skip list over the occupied
// runs finds the empty entry where the table's probe would stop. Placement is
// exactly the table's own, so nothing that depends on table order changes.
//
// The index is a cache derived from the table: it is rebuilt whenever the
// table's size or fill disagrees with it (a new run-time, a fresh table).
#pragma once

#include <cstdint>
#include <string_view>

namespace orvane::symbol_lookup {

// The entry holding name, or the empty entry where the table's probe would
// put it. The table must keep at least one empty entry.
std::uint32_t probe(std::string_view name);

// Records that the empty entry `index` (found by probe) now holds name.
void record(std::uint32_t index, std::string_view name);

}  // namespace orvane::symbol_lookup
