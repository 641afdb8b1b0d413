#include "core/runtime.h"

#include <stdexcept>
#include <string>

#include "core/collector.h"
#include "core/blocks.h"
#include "core/native_objects.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "core/errors.h"
#include "core/native_stack.h"

namespace orvane {

void reset_constant_texts();

namespace {

inline constexpr std::uint32_t kLispBlockStart = 0x1000000;

std::uint32_t align_up(std::uint32_t x, std::uint32_t a) { return (x + a - 1) & ~(a - 1); }

void lay_out(const MemoryLayout& l) {
  LispMemory& m = g_mem;
  m.block_start = kLispBlockStart;
  m.block_end = static_cast<std::uint32_t>(kLispBlockStart + l.block_size);

  m.symbols_offset = align_up(m.block_start, 16);
  m.symbol_count = l.symbols;
  m.symbols_free = l.symbols;
  std::memset(host(m.symbols_offset), 0, std::size_t{16} * l.symbols);

  m.lisp_stack_base = m.symbols_offset + 16 * l.symbols;
  m.lisp_stack_top = m.lisp_stack_base;
  m.lisp_stack_end = m.lisp_stack_base + 4 * l.lisp_stack;
  m.lisp_stack_limit = m.lisp_stack_end - 2000;

  m.prolog_base = m.lisp_stack_end;
  m.prolog_end = m.prolog_base + 4 * l.prolog_stack;
  m.prolog_top = m.prolog_end - 4;
  *reinterpret_cast<Value*>(host(m.prolog_top)) = kAbsent;

  m.nodes_offset = align_up(m.prolog_end, 8);
  m.nodes = host(m.nodes_offset);
  m.node_count = l.nodes;
  node_at(0) = Node{0xffffffffu, 0xffffffffu};
  for (std::uint32_t i = 1; i <= l.nodes; ++i)
    node_at(i * 8) = Node{kNil.bits, i == l.nodes ? kNil.bits : (i + 1) * 8};
  m.free_head = 8;
  m.free_count = l.nodes;
  m.fresh_nodes = 8;

  m.heap_start = m.nodes_offset + 8 * (l.nodes + 1);
  m.heap_alloc = m.heap_start;
  m.heap_end = m.block_end;
  m.reserve = l.reserve;
  m.native_stack = l.native_stack;

  // The chain starts as one node that is both head and tail.
  std::uint32_t head = m.free_head;
  m.free_head = node_at(head).w1 & kPayloadMask;
  --m.free_count;
  node_at(head) = Node{0, 0};
  m.chain_head = m.chain_tail = head;

  m.self = kNoObject;
  m.growable = true;
}

}  // namespace

Runtime::Runtime(const MemoryConfig& config, ModuleRegistration register_modules) {
  if (current_) throw std::logic_error("one run-time at a time");
  if (auto problem = memory_config_problem(config)) throw StartupMemoryError(*problem);
  // The world can give the Lisp block kLispBlockLimit bytes; the reserve
  // is what the rest of the application keeps.
  std::uint64_t available = kLispBlockLimit - std::min<std::uint64_t>(config.reserve, kLispBlockLimit);
  layout_ = size_memory(config, available);
  if (layout_.spare < 0) throw StartupMemoryError(startup_memory_alert_text(layout_.spare));
  try {
    space_ = std::make_unique<platform::AddressSpace>();
  } catch (const std::exception&) {
    // The alert then names the whole block the run-time could not obtain.
    throw StartupMemoryError(startup_memory_alert_text(-static_cast<std::int64_t>(layout_.block_size)));
  }
  g_mem = LispMemory{};
  g_mem.world = space_->base();
  reset_collector();
  const char* stress = std::getenv("ORVANE_GC_STRESS");
  lay_out(layout_);
  current_ = this;

  auto stack = platform::current_native_stack();
  // Keep a margin for the error path and the host's own needs.
  std::size_t usable = std::min<std::size_t>(stack.size, 64u << 20);
  std::size_t margin = usable > (1u << 20) ? (512u << 10) : usable / 4;
  g_native_stack_limit = stack.top - usable + margin;
  // Half the margin is the error path's when the guard trips.
  g_native_stack_error_room = margin / 2;
  // The allowance the zone figures report is the one actually guarded.
  g_mem.native_stack = static_cast<std::uint32_t>(std::min<std::uintptr_t>(stack.top - g_native_stack_limit, UINT32_MAX));

  g_sym = WellKnownSymbols{};
  try {
    g_mem.empty_string = make_string("");
    node_of(g_mem.empty_string).w0 |= kPermanentBit;
    register_modules();
  } catch (const Thrower&) {
    tear_down();
    throw StartupMemoryError("The memory configuration is too small for the run-time's own definitions");
  }
  g_mem.gc_stress = stress != nullptr && std::string(stress) == "1";
}

void Runtime::tear_down() {
  // The objects found dead are closed while the world still stands.
  close_released_native_objects();
  release_symbol_list();
  g_native_objects.clear();
  reset_blocks();
  primitive_table().clear();
  reset_constant_texts();
  reset_collector();
  g_mem = LispMemory{};
  current_ = nullptr;
}

Runtime::~Runtime() { tear_down(); }

}  // namespace orvane
