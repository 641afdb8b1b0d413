#include "eval/processes.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/collector.h"
#include "core/native_objects.h"
#include "core/primitives.h"
#include "core/symbols.h"
#include "eval/context.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "platform/clock.h"
#include "reader/printer.h"

namespace orvane {

namespace {

// --- Records -------------------------------------------------------------------------

struct Process final : NativeObject {
  Value name = kNil, function = kNil, context = kNil, own = kNil;
  Value start_function = kNil, end_function = kNil;
  std::int32_t quantum = 0, wake_up = 0, start_time = 0, delay = 0, duration = -1, last_elapsed = 0;
  int state = 0;  // clock processes: 0 not started, 1 started, 2 finished
  bool clock = false, once = false, delayed_start = false;
  bool running = false, suspended = false, killed = false, listed = false;
  std::uint32_t id = 0;

  void mark_values(ValueMarker& m) override {
    for (Value v : {name, function, context, own, start_function, end_function}) m.mark(v);
  }
};

// The scheduler: the started processes in wake-up order, and a busy flag
// that makes `give-time` non-reentrant. Every live record is known here so
// that its Values stay alive even before it is started (a process made now
// and started later must still find its function).
struct Scheduler {
  std::vector<Process*> list;
  std::vector<Process*> all;
  bool busy = false;
};
Scheduler g_scheduler;

std::int32_t now_ticks() {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(platform::clock().milliseconds() * 3 / 50));
}
// Wrapping comparison of tick counts.
bool not_later(std::int32_t a, std::int32_t b) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)) <= 0; }

void unlist(Process* p) {
  auto& l = g_scheduler.list;
  l.erase(std::remove(l.begin(), l.end(), p), l.end());
  p->listed = false;
}

// After the last listed process whose wake-up time is not later than its own.
void insert_in_order(Process* p) {
  auto& l = g_scheduler.list;
  auto it = l.begin();
  for (auto i = l.begin(); i != l.end(); ++i)
    if (not_later((*i)->wake_up, p->wake_up)) it = i + 1;
  l.insert(it, p);
  p->listed = true;
}

void destroy(Process* p) {
  if (p->listed) unlist(p);
  auto& all = g_scheduler.all;
  all.erase(std::remove(all.begin(), all.end(), p), all.end());
  if (p->own != kNil) node_of(p->own).w1 = 0;  // the Value wraps nothing now
  g_native_objects.release(p->id);
}

// Every live record is a root, the own Value included: a process is only
// ever destroyed by the scheduler, never found dead by the collector.
void mark_processes(ValueMarker& marker) {
  for (Process* p : g_scheduler.all) p->mark_values(marker);
}

// --- Arguments ---------------------------------------------------------------------------

Process* process_of_value(Value v) {
  if (!is_pointer(v) || pointer_kind(v) != PointerKind::process) return nullptr;
  return dynamic_cast<Process*>(g_native_objects.find(pointer_address(v)));
}

// A process Value, or a symbol naming the first listed process with that
// name. Error 2 for anything else and for a process that was destroyed.
Process& designated(Value v) {
  if (is_symbol(v)) {
    for (Process* p : g_scheduler.list)
      if (p->name == v) return *p;
    raise_error(2, v);
  }
  Process* p = process_of_value(v);
  if (!p) raise_error(2, v);
  return *p;
}

bool flag(Value v) { return is_true(v); }
std::int32_t ticks_of(Value v) { return integer_of(v); }

Value make_process_value(std::unique_ptr<Process> record) {
  Process* raw = record.get();
  Value own = make_native_pointer(std::move(record), PointerKind::process);
  raw->own = own;
  raw->id = pointer_address(own);
  g_scheduler.all.push_back(raw);
  return own;
}

// --- Running -------------------------------------------------------------------------------

void call_in_context(Process& p, Value fn, std::initializer_list<Value> args) {
  if (is_false(fn)) return;
  if (p.context != kNil) {
    SelfBinding self(p.context);
    call(fn, args);
  } else {
    call(fn, args);
  }
}

void run_plain(Process& p, std::int32_t now) {
  p.wake_up = now + p.quantum;
  call_in_context(p, p.function, {});
  if (p.once) p.killed = true;
}

// A clock process created with a nil duration has duration -1, so its first
// run calls the start function and then the end function: kept as the
// original behaves, since titles may rely on it.
void run_clock(Process& p, std::int32_t now) {
  std::int32_t elapsed = now - p.start_time;
  if (p.state == 0) {
    call_in_context(p, p.start_function, {});
    p.state = 1;
  }
  if (p.once || elapsed >= p.duration) {
    call_in_context(p, p.end_function, {});
    p.state = 2;
    p.killed = true;
  } else {
    call_in_context(p, p.function, {make_integer(elapsed)});
    p.last_elapsed = elapsed;
    p.wake_up = now + p.quantum;
  }
}

void run(Process& p, std::int32_t now) {
  p.running = true;
  struct Running {
    Process& p;
    ~Running() { p.running = false; }
  } guard{p};
  try {
    if (p.clock) run_clock(p, now);
    else run_plain(p, now);
  } catch (const Thrower&) {
    p.killed = true;
  } catch (const ErrorPrinting&) {
    p.killed = true;
  }
}

void scheduler_step() {
  auto& l = g_scheduler.list;
  while (!l.empty() && l.front()->killed) destroy(l.front());
  if (l.empty()) return;
  Process* first = l.front();
  std::int32_t now = now_ticks();
  if (first->running || first->suspended || !not_later(first->wake_up, now)) return;
  run(*first, now);
  // The run may have changed the list: look again at the process that ran.
  if (!first->listed) return;
  if (first->killed) {
    destroy(first);
    return;
  }
  unlist(first);
  insert_in_order(first);
}

// --- Primitives -------------------------------------------------------------------------------

Value p_new_process(Value function, Value name, Value quantum, Value delayed, Value once, Value context) {
  auto p = std::make_unique<Process>();
  p->function = function;
  p->name = (is_false(name) && is_symbol(function)) ? function : (name == kNoValue ? kNil : name);
  p->quantum = is_false(quantum) ? 0 : ticks_of(quantum);
  p->delayed_start = flag(delayed);
  p->once = flag(once);
  p->context = context == kNoValue ? kNil : context;
  return make_process_value(std::move(p));
}

Value p_new_clock_process(Value start, Value step, Value end, Value name, Value delay, Value duration,
                          Value quantum, Value context) {
  auto p = std::make_unique<Process>();
  p->clock = true;
  p->start_function = start;
  p->function = step;
  p->end_function = end;
  p->name = (is_false(name) && is_symbol(step)) ? step : (name == kNoValue ? kNil : name);
  p->delay = is_false(delay) ? 0 : ticks_of(delay);
  p->duration = is_false(duration) ? -1 : ticks_of(duration);
  p->quantum = is_false(quantum) ? 0 : ticks_of(quantum);
  p->context = context == kNoValue ? kNil : context;
  return make_process_value(std::move(p));
}

Value p_run_process(Value v) {
  Process* p = process_of_value(v);
  if (!p || p->listed) return kNoValue;
  std::int32_t now = now_ticks();
  if (p->clock) {
    p->start_time = now;
    p->wake_up = now + p->delay;
    p->state = 0;
  } else {
    p->wake_up = p->delayed_start ? now + p->quantum : now;
  }
  p->killed = false;
  insert_in_order(p);
  return kNoValue;
}

Value p_kill_process(Value v) {
  Process* p = is_symbol(v) ? &designated(v) : process_of_value(v);
  if (!p) return kNoValue;
  if (p->running) p->killed = true;
  else destroy(p);
  return kNoValue;
}

void cleanup_killed() {
  if (g_scheduler.busy) return;
  std::vector<Process*> killed;
  for (Process* p : g_scheduler.list)
    if (p->killed) killed.push_back(p);
  for (Process* p : killed) destroy(p);
}

Value p_get_processes() {
  cleanup_killed();
  Value result = kNil;
  for (Process* p : g_scheduler.list) result = cons(p->own, result);
  return result;
}

Value p_find_process(Value name) {
  for (Process* p : g_scheduler.list)
    if (p->name == name) return p->own;
  return kNil;
}

Value p_reset_process(Value v) {
  Process& p = designated(v);
  p.wake_up = now_ticks() + p.quantum;
  return kNoValue;
}

void move_to_new_place(Process& p) {
  if (!p.listed) return;
  unlist(&p);
  insert_in_order(&p);
}

Value p_wake_up_process(Value v) {
  Process& p = designated(v);
  p.wake_up = now_ticks();
  move_to_new_place(p);
  return kNoValue;
}

Value p_suspend_process(Value v) {
  designated(v).suspended = true;
  return kNoValue;
}
Value p_resume_process(Value v) {
  designated(v).suspended = false;
  return kNoValue;
}
Value p_suspended_p(Value v) { return designated(v).suspended ? g_sym.t : kNil; }
Value p_running_p(Value v) { return designated(v).running ? g_sym.t : kNil; }
Value p_get_name(Value v) { return designated(v).name; }
Value p_get_function(Value v) { return designated(v).function; }
Value p_get_context(Value v) { return designated(v).context; }
Value low24(std::int32_t x) { return make_fixnum(static_cast<std::int32_t>(static_cast<std::uint32_t>(x) << 8) >> 8); }
Value p_get_quantum(Value v) { return low24(designated(v).quantum); }
Value p_get_wake_up(Value v) { return low24(designated(v).wake_up); }

Value p_set_process_quantum(Value v, Value quantum) {
  Process& p = designated(v);
  std::int32_t q = ticks_of(quantum);
  p.quantum = q;
  p.wake_up += q;
  move_to_new_place(p);
  return kNoValue;
}

Value p_give_time() {
  if (g_scheduler.busy) return kNoValue;
  g_scheduler.busy = true;
  struct Busy {
    ~Busy() { g_scheduler.busy = false; }
  } guard;
  try {
    scheduler_step();
  } catch (const Thrower&) {
  } catch (const ErrorPrinting&) {
  }
  return kNoValue;
}

Value p_cleanup_processes() {
  cleanup_killed();
  return kNoValue;
}

std::string describe_process(Value pointer) {
  char text[160];
  Process* p = process_of_value(pointer);
  if (p && p->name != kNil) {
    std::string name = value_to_text(p->name);
    std::snprintf(text, sizeof text, "<process %s %x>", name.c_str(), pointer_address(pointer));
  } else {
    std::snprintf(text, sizeof text, "<process %x>", pointer_address(pointer));
  }
  return text;
}

}  // namespace

void quit_processes() {
  while (!g_scheduler.all.empty()) destroy(g_scheduler.all.back());
  g_scheduler.busy = false;
}

void register_processes() {
  // A new run-time starts with no process (the records of an earlier one
  // went with its native-object table).
  g_scheduler = Scheduler{};
  static const ExtraRoots roots(mark_processes);
  set_pointer_describer(PointerKind::process, describe_process);
  defprim("new-process", p_new_process);
  defprim("new-clock-process", p_new_clock_process);
  defprim("run-process", p_run_process);
  defprim("kill-process", p_kill_process);
  defprim("get-processes", p_get_processes);
  defprim("find-process", p_find_process);
  defprim("reset-process", p_reset_process);
  defprim("wake-up-process", p_wake_up_process);
  defprim("suspend-process", p_suspend_process);
  defprim("resume-process", p_resume_process);
  defprim("process-suspended?", p_suspended_p);
  defprim("get-process-suspended?", p_suspended_p);
  defprim("get-process-running?", p_running_p);
  defprim("get-process-name", p_get_name);
  defprim("get-process-function", p_get_function);
  defprim("get-process-context", p_get_context);
  defprim("get-process-quantum", p_get_quantum);
  defprim("get-process-wake-up", p_get_wake_up);
  defprim("set-process-quantum", p_set_process_quantum);
  defprim("give-time", p_give_time);
  defprim("cleanup-processes", p_cleanup_processes);
}

}  // namespace orvane
