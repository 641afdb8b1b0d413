// The pending work of a walk over nested data, kept off the native stack
// once it grows: the first entries live in the walker's frame, the rest on
// the heap, so that no depth of nesting can exhaust the native stack.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <vector>

namespace orvane {

template <class T, std::size_t kInline = 16>
class WorkStack {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  WorkStack() = default;
  WorkStack(const WorkStack&) = delete;
  WorkStack& operator=(const WorkStack&) = delete;

  bool empty() const { return count_ == 0; }

  void push(const T& item) {
    if (count_ < kInline) new (&inline_[count_]) T(item);
    else spilled_.push_back(item);
    ++count_;
  }

  T pop() {
    --count_;
    if (count_ < kInline) return *std::launder(reinterpret_cast<T*>(&inline_[count_]));
    T item = spilled_.back();
    spilled_.pop_back();
    return item;
  }

 private:
  // Left uninitialised: walks that never go down a car pay nothing for it.
  struct alignas(T) Slot {
    unsigned char bytes[sizeof(T)];
  };
  Slot inline_[kInline];
  std::vector<T> spilled_;
  std::size_t count_ = 0;
};

}  // namespace orvane
