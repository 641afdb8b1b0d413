// The symbol table: a fixed-size open-addressed table of 16-byte entries.
// A symbol Value's payload is its entry's byte offset, so symbols never move
// and never die. Probing is linear with no deletion, so no tombstones; the
// lookup index beside the table (symbol_lookup.h) spares lookups the walk.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/memory.h"

namespace orvane {

struct SymbolEntry {
  Value name;     // string Value; 0 marks an empty entry
  Value value;    // global value; kNoValue when unbound
  Value definer;  // 0, a class, or kAbsent (see the object system)
  std::int16_t selector_index;
  std::int16_t keyword_twin;
};
static_assert(sizeof(SymbolEntry) == 16);

inline SymbolEntry& symbol_entry(Value sym) {
  return *reinterpret_cast<SymbolEntry*>(host(g_mem.symbols_offset + sym.payload()));
}
inline SymbolEntry& symbol_entry_at(std::uint32_t index) {
  return *reinterpret_cast<SymbolEntry*>(host(g_mem.symbols_offset + index * 16));
}
inline Value symbol_at(std::uint32_t index) { return Value::make(tag::symbol, index * 16); }
inline std::uint32_t symbol_index(Value sym) { return sym.payload() / 16; }

std::uint32_t symbol_hash(std::string_view name, std::uint32_t table_size);

// Interns with a constant name (built-in names) or a copied name.
// Never overwrites a bound value: the initial value is stored only when the
// symbol's value is no-value. A full table raises error 9 with nil.
Value intern_constant(std::string_view name, Value initial = kNoValue);
Value intern(std::string_view name, Value initial = kNoValue);
// ":" + name, bound to itself.
Value intern_keyword(std::string_view name_without_colon);
// The symbol or nil; never creates.
Value find_symbol(std::string_view name);
// The keyword twin ":" + name of a symbol, bound to itself.
Value keyword_of(Value sym);

std::string_view symbol_name(Value sym);  // valid until the next allocation
inline Value symbol_global(Value sym) { return symbol_entry(sym).value; }
inline void set_symbol_global(Value sym, Value v) { symbol_entry(sym).value = v; }

// The compact symbol table used by the reader's compact encoding: entries 0-7
// are define, quote, set!, t, nil, defslot, when, let; 8 + i the i-th name of
// the loaded start-up list.
void load_symbol_list(const std::uint8_t* data, std::size_t size);
void release_symbol_list();
const std::vector<Value>& compact_symbol_table();
bool has_compact_symbol_table();

// Symbols the run-time itself names, interned at start-up.
struct WellKnownSymbols {
  Value t, nil, quote, lambda, gamma, syntax, syntax_gamma, new_clause, else_,
      self, toplevel, cancel, resume, break_, load_module, error_trap,
      error_handler, error_module, message_kw, unquote, unquote_splicing,
      destroy, print_self, read_proc, write_proc, define, set, defslot, when,
      let, features, langage, object, klass, instance, arrow;
};
inline WellKnownSymbols g_sym;

}  // namespace orvane
