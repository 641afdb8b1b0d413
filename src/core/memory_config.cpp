#include "core/memory_config.h"

#include <algorithm>

#include "platform/byte_reader.h"

namespace orvane {

namespace {

constexpr std::size_t kVprfSize = 36;
constexpr std::size_t kSizeResourceSize = 6;

// Zone minimums below which the run-time itself cannot work: the Lisp stack
// keeps 2,000 bytes above its limit, and start-up registers a few thousand
// symbols.
constexpr std::uint32_t kMinSymbols = 1024;
constexpr std::uint32_t kMaxSymbols = 65536;  // keyword twins are 16-bit entry indexes
constexpr std::uint32_t kMinLispStack = 1024;
constexpr std::uint32_t kMinPrologStack = 64;
constexpr std::uint32_t kMinNodes = 1000;
constexpr std::uint32_t kMinHeap = 16384;

std::uint64_t grown_by(std::uint32_t from, std::uint32_t to, std::uint64_t unit) {
  return to > from ? (std::uint64_t{to} - from) * unit : 0;
}

}  // namespace

MemoryConfig MemoryConfig::parse(std::span<const std::uint8_t> vprf, std::span<const std::uint8_t> size) {
  MemoryConfig c;
  if (!vprf.empty()) {
    if (vprf.size() < kVprfSize)
      throw MemoryConfigError("The memory configuration (VPRF 256) holds " + std::to_string(vprf.size()) +
                              " bytes instead of 36");
    std::uint32_t* fields[] = {&c.symbols, &c.lisp_stack, &c.prolog_stack, &c.nodes, &c.heap,
                               &c.reserve, &c.native_stack, &c.node_share, &c.reserve_share};
    ByteReader in(vprf);
    for (std::uint32_t* field : fields) *field = in.u32be();
  }
  if (!size.empty()) {
    if (size.size() < kSizeResourceSize)
      throw MemoryConfigError("The memory size (SIZE -1) holds " + std::to_string(size.size()) +
                              " bytes instead of at least 6");
    ByteReader in(size, 2);
    c.total = in.u32be();
  }
  return c;
}

std::optional<std::string> memory_config_problem(const MemoryConfig& c) {
  auto at_least = [](const char* zone, std::uint32_t minimum) {
    return std::string("The memory configuration is unusable: ") + zone + " needs at least " +
           std::to_string(minimum);
  };
  if (c.symbols < kMinSymbols) return at_least("the symbol table", kMinSymbols);
  if (c.symbols > kMaxSymbols)
    return "The memory configuration is unusable: the symbol table holds at most " +
           std::to_string(kMaxSymbols) + " entries";
  if (c.lisp_stack < kMinLispStack) return at_least("the Lisp stack", kMinLispStack);
  if (c.prolog_stack < kMinPrologStack) return at_least("the prolog stack", kMinPrologStack);
  if (c.nodes < kMinNodes) return at_least("the node store", kMinNodes);
  if (c.heap < kMinHeap) return at_least("the indirect area", kMinHeap);
  return std::nullopt;
}

MemoryConfig apply_overrides(MemoryConfig c, const MemoryOverrides& o) {
  if (o.symbols) {
    c.total += grown_by(c.symbols, *o.symbols, 16);
    c.symbols = *o.symbols;
  }
  if (o.nodes) {
    c.total += grown_by(c.nodes, *o.nodes, 8);
    c.nodes = *o.nodes;
  }
  if (o.heap) {
    c.total += grown_by(c.heap, *o.heap, 1);
    c.heap = *o.heap;
  }
  return c;
}

MemoryLayout size_memory(const MemoryConfig& c, std::uint64_t available) {
  MemoryLayout l;
  std::uint64_t total = std::min<std::uint64_t>(c.total, available);
  std::int64_t need = std::int64_t{c.reserve} + 16ll * c.symbols + 4ll * c.lisp_stack + 32 +
                      8ll * c.nodes + c.heap + 4ll * c.prolog_stack;
  l.spare = static_cast<std::int64_t>(total) - need;
  l.symbols = c.symbols;
  l.lisp_stack = c.lisp_stack;
  l.prolog_stack = c.prolog_stack;
  l.native_stack = c.native_stack;
  if (l.spare < 0) return l;
  // Shares above 100 percent in all would eat into the minimum indirect
  // area: the reserve's share is served first, the nodes get what is left.
  std::uint64_t reserve_share = std::min<std::uint32_t>(c.reserve_share, 100);
  std::uint64_t node_share = std::min<std::uint64_t>(c.node_share, 100 - reserve_share);
  auto spare = static_cast<std::uint64_t>(l.spare);
  std::uint64_t nodes = c.nodes + node_share * spare / 800;
  // What the share cannot turn into nodes stays in the indirect area.
  l.nodes = static_cast<std::uint32_t>(std::min<std::uint64_t>(nodes, kMaxNodes));
  l.reserve = static_cast<std::uint32_t>(c.reserve + reserve_share * spare / 100);
  l.block_size = total - l.reserve;
  return l;
}

std::string startup_memory_alert_text(std::int64_t spare) {
  // The division truncates toward zero, as C++ integer division does.
  return "There is not enougth RAM memory : " + std::to_string(1 - spare / 1024) + " K";
}

}  // namespace orvane
