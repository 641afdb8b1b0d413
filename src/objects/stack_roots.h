// Values that native code keeps across allocations, held on the Lisp stack.
//
// The collector scans the Lisp stack exactly. A Value left in a local
// variable is found by the conservative scan only if the compiler keeps the
// whole word: once it knows the tag (a fresh cons, a Value tested with
// is_pair) it may keep just the node offset, which the scan cannot
// recognise. Structures under construction therefore live here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory.h"

namespace orvane::objects {

class StackRoots {
 public:
  explicit StackRoots(std::size_t count) : base_(g_mem.lisp_stack_top) {
    for (std::size_t i = 0; i < count; ++i) lisp_push(kNil);
  }
  ~StackRoots() { g_mem.lisp_stack_top = base_; }
  StackRoots(const StackRoots&) = delete;
  StackRoots& operator=(const StackRoots&) = delete;

  Value& operator[](std::size_t i) { return lisp_stack_host(base_)[i]; }

 private:
  std::uint32_t base_;
};

// Builds a list front to back; the list so far is a root.
class ListBuilder {
 public:
  ListBuilder() : roots_(3) {}
  void add(Value v) {
    roots_[2] = v;
    Value cell = cons(kNil, kNil);
    set_car(cell, roots_[2]);
    if (roots_[0] == kNil) roots_[0] = cell;
    else set_cdr(roots_[1], cell);
    roots_[1] = cell;
  }
  Value list() { return roots_[0]; }
  Value last_cell() { return roots_[1]; }

 private:
  StackRoots roots_;
};

}  // namespace orvane::objects
