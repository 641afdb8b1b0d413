// protect: making a structure permanent (the closure of a definition).
#include <vector>

#include "core/collector.h"
#include "core/errors.h"
#include "core/gc_internal.h"

namespace orvane {

namespace {

constexpr bool protect_ignores_tag(std::uint32_t t) {
  return t <= 0x02 || t == 0x05 || t == 0x08 || (t >= 0x17 && t <= 0x1a) || (t >= 0x1c && t <= 0x1f) ||
         (t >= 0x35 && t <= 0x39) || t == 0x3c;
}

// Makes nodes permanent one by one; if the structure holds something that
// cannot be permanent, every node made permanent so far is given back, so a
// refused definition leaves no garbage that could never be collected.
class Protector {
 public:
  void run(Value root) {
    work_.push_back(root);
    while (!work_.empty()) {
      Value v = work_.back();
      work_.pop_back();
      walk(v);
    }
  }

 private:
  // Follows the cdrs; cars wait on the work list.
  void walk(Value v) {
    for (;;) {
      if (protect_ignores_tag(v.tag())) return;
      std::uint32_t offset = v.payload();
      if (offset == 0 || offset >= gc::node_end() || (offset & 7)) return;
      Node& n = node_at(offset);
      if (n.w0 & kPermanentBit) return;
      switch (node_header(n)) {
        case header::raw_word:
        case header::real:
        case header::string:
          make_permanent(n, offset);
          return;
        case header::vector:
        case header::array:
        case header::hash_table:
        case header::pointer:
        case header::slot_descriptor:
        case header::class_record:
        case header::instance_record:
        case header::byte_block:
          refuse();
        default:
          make_permanent(n, offset);
          work_.push_back(Value(n.w0 & ~gc::kFlagBits));
          v = Value(n.w1);
      }
    }
  }

  void make_permanent(Node& n, std::uint32_t offset) {
    n.w0 |= kPermanentBit;
    made_.push_back(offset);
  }

  [[noreturn]] void refuse() {
    for (std::uint32_t offset : made_) node_at(offset).w0 &= ~kPermanentBit;
    made_.clear();
    work_.clear();
    report("bad type in protect fonction");
  }

  std::vector<Value> work_;
  std::vector<std::uint32_t> made_;
};

}  // namespace

void protect(Value v) {
  Protector protector;
  protector.run(v);
}

}  // namespace orvane
