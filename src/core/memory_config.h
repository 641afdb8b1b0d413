// The memory configuration of a title and the sizing of the Lisp block.
//
// The title's "VPRF" 256 resource holds nine 32-bit big-endian fields (the
// order of MemoryConfig below); bytes 2-5 of its "SIZE" -1 resource hold the
// preferred total. The total covers the Lisp block plus a reserve left for
// the rest of the application.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

namespace orvane {

struct MemoryConfig {
  std::uint32_t symbols = 32749;       // symbol-table entries S (odd: the hash spreads better)
  std::uint32_t lisp_stack = 262144;   // Values
  std::uint32_t prolog_stack = 65536;  // Values
  std::uint32_t nodes = 500000;        // initial allocatable nodes N
  std::uint32_t heap = 4u << 20;       // minimum indirect area, bytes
  std::uint32_t reserve = 1u << 20;    // bytes left outside the Lisp block
  std::uint32_t native_stack = 1000000;
  std::uint32_t node_share = 25;       // percent of spare turned into nodes
  std::uint32_t reserve_share = 0;     // percent of spare added to the reserve
  std::uint64_t total = 48u << 20;     // preferred total

  // Reads the two resources. An empty span stands for a missing resource
  // and keeps the defaults of its fields; a truncated one raises
  // MemoryConfigError.
  static MemoryConfig parse(std::span<const std::uint8_t> vprf, std::span<const std::uint8_t> size);
};

class MemoryConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the configuration cannot be laid out with (a zone too small for the
// run-time to work, or too large for 24-bit offsets), or nullopt.
std::optional<std::string> memory_config_problem(const MemoryConfig& config);

// Overrides from the command line (--symbols, --nodes, --heap). Each raises
// the total by what it adds, so the spare memory of the title is kept.
struct MemoryOverrides {
  std::optional<std::uint32_t> symbols;
  std::optional<std::uint32_t> nodes;
  std::optional<std::uint32_t> heap;
};
MemoryConfig apply_overrides(MemoryConfig config, const MemoryOverrides& overrides);

// The result of sizing: what the Lisp block will hold.
struct MemoryLayout {
  std::uint32_t symbols = 0;
  std::uint32_t lisp_stack = 0;
  std::uint32_t prolog_stack = 0;
  std::uint32_t nodes = 0;  // N', allocatable nodes
  std::uint32_t reserve = 0;
  std::uint32_t native_stack = 0;
  std::uint64_t block_size = 0;
  std::int64_t spare = 0;  // negative: not enough memory
};

// Bytes that the world address space can give to the Lisp block.
inline constexpr std::uint64_t kLispBlockLimit = 1536ull << 20;
// Node offsets are 24 bits: node 0 plus at most 2^21 - 1 allocatable nodes.
inline constexpr std::uint32_t kMaxNodes = (1u << 21) - 1;

// Computes the layout from the settings and the memory available.
MemoryLayout size_memory(const MemoryConfig& config, std::uint64_t available);

// The start-up memory alert for a negative spare:
// "There is not enougth RAM memory : ^0 K" with ^0 = 1 - spare / 1024.
std::string startup_memory_alert_text(std::int64_t spare);

}  // namespace orvane
