// The sort: the list's elements and their keys are copied into a buffer that
// the collector marks while the sort runs; the buffer is quicksorted with
// the caller's predicate and a new list is built from it. Each running sort
// owns its buffer, so a predicate may sort again.
#include "lib/sort.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "core/collector.h"
#include "core/primitives.h"
#include "lib/lists_internal.h"

namespace orvane {

namespace {

// Element/key pairs, a collector root for as long as it exists (also when a
// throw leaves the sort).
class SortBuffer {
 public:
  explicit SortBuffer(std::size_t count) : values_(2 * count, kNil) {
    if (!values_.empty()) add_root_range(values_.data(), values_.size());
  }
  ~SortBuffer() {
    if (!values_.empty()) remove_root_range(values_.data());
  }
  SortBuffer(const SortBuffer&) = delete;
  SortBuffer& operator=(const SortBuffer&) = delete;

  std::size_t size() const { return values_.size() / 2; }
  Value& element(std::size_t i) { return values_[2 * i]; }
  Value& key(std::size_t i) { return values_[2 * i + 1]; }
  void swap(std::size_t i, std::size_t j) {
    std::swap(element(i), element(j));
    std::swap(key(i), key(j));
  }

 private:
  std::vector<Value> values_;
};

class Quicksort {
 public:
  Quicksort(SortBuffer& buffer, Value pred) : buffer_(buffer), pred_(pred) {}

  // Sorts [lo, hi): recursion on the smaller side, a loop on the larger, so
  // the depth stays logarithmic whatever the predicate answers.
  void sort(std::size_t lo, std::size_t hi) {
    while (hi - lo >= 2) {
      buffer_.swap(lo + (hi - lo) / 2, lo);
      std::size_t j = split(lo, hi);
      if (j == lo) {
        ++lo;  // nothing is less than the pivot
        continue;
      }
      buffer_.swap(lo, j);
      if (j - lo < hi - (j + 1)) {
        sort(lo, j);
        lo = j + 1;
      } else {
        sort(j + 1, hi);
        hi = j;
      }
    }
  }

 private:
  bool less(std::size_t i, std::size_t pivot) {
    return lists::holds(call(pred_, {buffer_.key(i), buffer_.key(pivot)}));
  }

  // Pairs less than the pivot (at lo) to the left, the others to the right;
  // answers where the pivot belongs.
  std::size_t split(std::size_t lo, std::size_t hi) {
    std::size_t i = lo, j = hi;
    for (;;) {
      ++i;
      while (i < hi && less(i, lo)) ++i;
      --j;
      while (j > lo && !less(j, lo)) --j;
      if (i >= j) return j;
      buffer_.swap(i, j);
    }
  }

  SortBuffer& buffer_;
  Value pred_;
};

}  // namespace

Value sort_list(Value pred, Value list, Value key, Value same) {
  lists::require_list(list);
  SortBuffer buffer(list_length(list));
  std::size_t n = 0;
  for (Value l = list; is_pair(l); l = cdr(l), ++n) {
    buffer.element(n) = car(l);
    buffer.key(n) = car(l);
  }
  if (!is_nil(key))
    for (std::size_t i = 0; i < n; ++i) buffer.key(i) = call(key, {buffer.element(i)});

  Quicksort(buffer, pred).sort(0, n);

  lists::ListBuilder out;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && !is_nil(same) && lists::holds(call(same, {buffer.key(i - 1), buffer.key(i)})))
      continue;
    out.push_back(buffer.element(i));
  }
  return out.head();
}

namespace lists {

void register_sort() { defprim("sort", sort_list); }

}  // namespace lists

}  // namespace orvane
