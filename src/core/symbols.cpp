#include "core/symbols.h"

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "core/symbol_lookup.h"
#include "platform/byte_reader.h"

namespace orvane {

namespace {

std::vector<Value> g_compact_table;
bool g_has_compact_table = false;

std::string_view entry_name(const SymbolEntry& e) {
  return std::string_view(reinterpret_cast<const char*>(host(node_of(e.name).w1)));
}

Value intern_with(std::string_view name, Value initial, bool constant) {
  std::uint32_t i = symbol_lookup::probe(name);
  SymbolEntry* e = &symbol_entry_at(i);
  if (e->name.bits != 0) {
    if (e->value == kNoValue) e->value = initial;
    return symbol_at(i);
  }
  // Keep one entry empty so that every probe ends.
  if (g_mem.symbols_free <= 1) raise_error(9, kNil);
  std::string copy(name);  // name may lie in the indirect area
  Value str;
  if (constant) {
    str = make_constant_string(copy);
  } else {
    str = make_string(copy);
    node_of(str).w0 |= kPermanentBit;
  }
  e = &symbol_entry_at(i);
  e->name = str;
  e->value = initial;
  e->definer = Value(0);
  e->selector_index = -1;
  e->keyword_twin = -1;
  --g_mem.symbols_free;
  symbol_lookup::record(i, copy);
  return symbol_at(i);
}

}  // namespace

std::uint32_t symbol_hash(std::string_view name, std::uint32_t table_size) {
  std::uint32_t h = 0;
  for (unsigned char b : name) h = 2 * h + b;
  return h % table_size;
}

Value intern_constant(std::string_view name, Value initial) { return intern_with(name, initial, true); }
Value intern(std::string_view name, Value initial) { return intern_with(name, initial, false); }

Value intern_keyword(std::string_view name) {
  std::string text = ":" + std::string(name);
  Value sym = intern(text, kNoValue);
  set_symbol_global(sym, sym);
  return sym;
}

Value find_symbol(std::string_view name) {
  std::uint32_t i = symbol_lookup::probe(name);
  return symbol_entry_at(i).name.bits == 0 ? kNil : symbol_at(i);
}

Value keyword_of(Value sym) {
  SymbolEntry& e = symbol_entry(sym);
  if (e.keyword_twin >= 0) return symbol_at(static_cast<std::uint32_t>(e.keyword_twin));
  std::string name(symbol_name(sym));
  Value kw = intern_keyword(name);
  symbol_entry(sym).keyword_twin = static_cast<std::int16_t>(symbol_index(kw));
  return kw;
}

std::string_view symbol_name(Value sym) { return entry_name(symbol_entry(sym)); }

void release_symbol_list() {
  g_compact_table.clear();
  g_has_compact_table = false;
}

void load_symbol_list(const std::uint8_t* data, std::size_t size) {
  release_symbol_list();
  if (data == nullptr) return;
  std::vector<std::string> names;
  ByteReader in(std::span<const std::uint8_t>(data, size));
  std::size_t n = in.u16be();
  auto rest = in.bytes(in.remaining());
  std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());
  // Names end with a zero byte; the last may end with the data instead.
  for (std::size_t i = 0; i < n && !text.empty(); ++i) {
    std::size_t end = std::min(text.find('\0'), text.size());
    names.emplace_back(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  static constexpr std::string_view kFixed[] = {"define", "quote", "set!", "t",
                                                "nil", "defslot", "when", "let"};
  std::vector<Value> table;
  for (auto name : kFixed) table.push_back(intern_constant(name, kNoValue));
  for (const auto& name : names) {
    Value sym = intern(name, kNoValue);
    if (!name.empty() && name[0] == ':') set_symbol_global(sym, sym);
    table.push_back(sym);
  }
  g_compact_table = std::move(table);
  g_has_compact_table = true;
}

const std::vector<Value>& compact_symbol_table() { return g_compact_table; }
bool has_compact_symbol_table() { return g_has_compact_table; }

}  // namespace orvane
