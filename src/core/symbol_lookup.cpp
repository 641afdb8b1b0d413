#include "core/symbol_lookup.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <vector>

#include "core/symbols.h"

namespace orvane::symbol_lookup {

namespace {

std::string_view entry_name(const SymbolEntry& e) {
  return std::string_view(reinterpret_cast<const char*>(host(node_of(e.name).w1)));
}

bool occupied(std::uint32_t index) { return symbol_entry_at(index).name.bits != 0; }

std::uint64_t strong_hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

class Index {
 public:
  std::uint32_t probe(std::string_view name) {
    sync();
    std::uint64_t h = strong_hash(name);
    if (std::uint32_t found = find(name, h); found != kNone) return found;
    return empty_from(symbol_hash(name, table_size_));
  }

  void record(std::uint32_t index, std::string_view name) {
    // The table already holds the name: a fill that disagrees means the
    // table changed behind the index, and sync() rebuilds it from scratch.
    if (filled_ + 1 != g_mem.symbol_count - g_mem.symbols_free || table_size_ != g_mem.symbol_count) {
      sync();
      return;
    }
    next_candidate_[index] = index + 1 == table_size_ ? 0 : index + 1;
    ++filled_;
    if (2 * filled_ > slots_.size()) rehash();
    else insert(index, strong_hash(name));
  }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  struct Slot {
    std::uint32_t fingerprint = 0;
    std::uint32_t entry_plus_one = 0;  // 0: empty slot
  };

  // The used entries of a fresh run-time's table differ from the index's.
  void sync() {
    std::uint32_t filled = g_mem.symbol_count - g_mem.symbols_free;
    if (table_size_ == g_mem.symbol_count && filled_ == filled) return;
    table_size_ = g_mem.symbol_count;
    filled_ = 0;
    next_candidate_.resize(table_size_);
    for (std::uint32_t i = 0; i < table_size_; ++i) {
      next_candidate_[i] = i + 1 == table_size_ ? 0 : i + 1;
      if (occupied(i)) ++filled_;
    }
    rehash();
  }

  void rehash() {
    std::size_t capacity = std::bit_ceil(std::max<std::size_t>(64, 4 * std::size_t{filled_}));
    slots_.assign(capacity, Slot{});
    for (std::uint32_t i = 0; i < table_size_; ++i)
      if (occupied(i)) insert(i, strong_hash(entry_name(symbol_entry_at(i))));
  }

  void insert(std::uint32_t entry, std::uint64_t h) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    while (slots_[i].entry_plus_one != 0) i = (i + 1) & mask;
    slots_[i] = Slot{static_cast<std::uint32_t>(h >> 32), entry + 1};
  }

  std::uint32_t find(std::string_view name, std::uint64_t h) const {
    std::size_t mask = slots_.size() - 1;
    auto fingerprint = static_cast<std::uint32_t>(h >> 32);
    for (std::size_t i = h & mask; slots_[i].entry_plus_one != 0; i = (i + 1) & mask) {
      const Slot& s = slots_[i];
      if (s.fingerprint == fingerprint && entry_name(symbol_entry_at(s.entry_plus_one - 1)) == name)
        return s.entry_plus_one - 1;
    }
    return kNone;
  }

  // The first empty entry at or after home, wrapping: where the table's own
  // probe stops for an absent name. Each occupied entry keeps a candidate
  // from which the search goes on, and every entry from it back to the entry
  // is occupied; entries are never emptied, so candidates only move forward,
  // and each search points the entries it crossed at the empty entry it found.
  std::uint32_t empty_from(std::uint32_t home) {
    std::uint32_t empty = home;
    while (occupied(empty)) empty = next_candidate_[empty];
    for (std::uint32_t i = home; i != empty;) {
      std::uint32_t next = next_candidate_[i];
      next_candidate_[i] = empty;
      i = next;
    }
    return empty;
  }

  std::vector<Slot> slots_ = std::vector<Slot>(64);
  std::vector<std::uint32_t> next_candidate_;
  std::uint32_t table_size_ = 0;
  std::uint32_t filled_ = 0;
};

// The index of the one symbol table: a documented singleton, like the table
// itself in the Lisp memory.
Index g_index;

}  // namespace

std::uint32_t probe(std::string_view name) { return g_index.probe(name); }
void record(std::uint32_t index, std::string_view name) { g_index.record(index, name); }

}  // namespace orvane::symbol_lookup
