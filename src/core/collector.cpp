#include "core/collector.h"

#include <algorithm>
#include <vector>

#include "core/memory.h"
#include "eval/errors.h"

namespace orvane {

namespace {
struct RootRange {
  Value* first;
  std::size_t count;
};
std::vector<RootRange>& root_ranges() {
  static std::vector<RootRange> ranges;
  return ranges;
}
}  // namespace

void add_root_range(Value* first, std::size_t count) { root_ranges().push_back({first, count}); }
void remove_root_range(Value* first) {
  auto& r = root_ranges();
  auto it = std::find_if(r.rbegin(), r.rend(), [&](const RootRange& x) { return x.first == first; });
  if (it != r.rend()) r.erase(std::next(it).base());
}

void collect() {}
bool grow_nodes(std::uint32_t) { return false; }
void protect(Value) {}

void out_of_memory() {
  int answer = g_collector_hooks.out_of_memory_alert ? g_collector_hooks.out_of_memory_alert() : 1;
  if (answer == 2) std::exit(1);
  throw_to_toplevel();
}

}  // namespace orvane
