// The chain of evaluation contexts. Every dynamic extent (call frame, `self`
// binding, cleanup, catch, reader source, printer destination) is an RAII
// record on the native stack, linked into one chain; its destructor is its
// exit action, so it runs on normal exit and when a throw unwinds through it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/memory.h"

namespace orvane {

class CallFrame;

class Context {
 public:
  enum class Kind : std::uint8_t { plain, stack_mark, call_frame, self_binding, cleanup, catcher, source, destination };

  explicit Context(Kind kind) : link_(current_), kind_(kind) { current_ = this; }
  ~Context() { current_ = link_; }
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  Context* link() const { return link_; }
  Kind kind() const { return kind_; }
  static Context* innermost() { return current_; }

 private:
  Context* link_;
  Kind kind_;
  static inline Context* current_ = nullptr;
};

// A call frame: its slots lie on the Lisp stack from `base`. It is the lexical
// environment of the code it runs; variables at depth d are reached through
// d parent links. Lexical closures name their frame by its serial number,
// which is checked against the live chain when they are called.
class CallFrame : public Context {
 public:
  CallFrame(std::uint32_t base, CallFrame* parent)
      : Context(Kind::call_frame), base_(base), parent_(parent),
        serial_(++serial_counter_), saved_env_(env_), saved_prolog_(g_mem.prolog_top), level_(depth_++) {}
  ~CallFrame() {
    --depth_;
    if (registered_) registry_[level_] = nullptr;
    g_mem.lisp_stack_top = base_;
    g_mem.prolog_top = saved_prolog_;
    env_ = saved_env_;
  }
  void enter() {
    size_ = (g_mem.lisp_stack_top - base_) / 4;
    entered_ = true;
    env_ = this;
  }
  bool entered() const { return entered_; }

  std::uint32_t base() const { return base_; }
  std::uint32_t size() const { return size_; }
  CallFrame* parent() const { return parent_; }
  std::uint32_t serial() const { return serial_; }
  Value* slots() const { return lisp_stack_host(base_); }

  static CallFrame* env() { return env_; }
  // The live call frame with that serial, or null.
  static CallFrame* find(std::uint32_t serial);
  // Live frames are numbered by their nesting level, which the clause engine
  // records in bound terms. Asking a frame its level registers it, so that
  // at_level finds it without walking the chain; a frame that never was asked
  // is found by the walk.
  std::uint32_t level() {
    if (!registered_) register_level();
    return level_;
  }
  // The live frame at a level, or null.
  static CallFrame* at_level(std::uint32_t level) {
    if (level < registry_.size() && registry_[level]) return registry_[level];
    return level < depth_ ? find_at_level(level) : nullptr;
  }

 private:
  std::uint32_t base_;  // also the stack top restored on exit
  std::uint32_t size_ = 0;
  CallFrame* parent_;
  std::uint32_t serial_;
  CallFrame* saved_env_;
  std::uint32_t saved_prolog_;
  bool entered_ = false;
  bool registered_ = false;
  std::uint32_t level_;
  void register_level();
  static CallFrame* find_at_level(std::uint32_t level);
  static inline CallFrame* env_ = nullptr;
  static inline std::uint32_t serial_counter_ = 0;
  // The number of live frames, and the registered ones by level (an entry is
  // cleared when its frame exits, so every non-null entry is live).
  static inline std::uint32_t depth_ = 0;
  static inline std::vector<CallFrame*> registry_;
  friend class EnvironmentReset;
  friend class EnvironmentSwitch;
};

// Makes another frame the lexical environment for a while (the clause engine
// evaluates goals in the frame of their clause).
class EnvironmentSwitch {
 public:
  explicit EnvironmentSwitch(CallFrame* frame) : saved_(CallFrame::env_) { CallFrame::env_ = frame; }
  ~EnvironmentSwitch() { CallFrame::env_ = saved_; }
  EnvironmentSwitch(const EnvironmentSwitch&) = delete;
  EnvironmentSwitch& operator=(const EnvironmentSwitch&) = delete;

 private:
  CallFrame* saved_;
};

// Runs code with no lexical environment (top-level evaluation), restoring
// the caller's on exit.
class EnvironmentReset {
 public:
  EnvironmentReset() : saved_(CallFrame::env_) { CallFrame::env_ = nullptr; }
  ~EnvironmentReset() { CallFrame::env_ = saved_; }

 private:
  CallFrame* saved_;
};

class SelfBinding : public Context {
 public:
  explicit SelfBinding(Value object) : Context(Kind::self_binding), saved_(g_mem.self) { g_mem.self = object; }
  ~SelfBinding() { g_mem.self = saved_; }

 private:
  Value saved_;
};

class StackMark : public Context {
 public:
  StackMark() : Context(Kind::stack_mark), saved_(g_mem.lisp_stack_top) {}
  ~StackMark() { g_mem.lisp_stack_top = saved_; }

 private:
  std::uint32_t saved_;
};

// A cleanup record: calls routine(data) on exit. The data Value is kept on
// the Lisp stack so that the collector sees it. An exit unwinds through the
// record when more exceptions are in flight than at its creation; those in
// flight already then belong to an outer exit whose cleanup made this record.
class Cleanup : public Context {
 public:
  using Routine = void (*)(Value data);
  Cleanup(Routine routine, Value data);
  ~Cleanup() noexcept(false);
  void set_data(Value data) { *lisp_stack_host(slot_) = data; }
  Value data() const { return *lisp_stack_host(slot_); }
  void disarm() { routine_ = nullptr; }

 private:
  Routine routine_;
  std::uint32_t slot_;
  std::uint32_t saved_top_;
  int exits_in_flight_at_creation_;
};

class Catcher : public Context {
 public:
  explicit Catcher(Value tag);
  Value tag() const { return *lisp_stack_host(slot_); }
  int saved_event_flag() const { return saved_event_flag_; }
  ~Catcher() { g_mem.lisp_stack_top = saved_top_; }

 private:
  std::uint32_t slot_;
  std::uint32_t saved_top_;
  int saved_event_flag_;
};

}  // namespace orvane
