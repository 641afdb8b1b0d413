// The compile step: every logic variable of a function form is rewritten in
// place into a frame reference (relative depth, slot index).
#include <vector>

#include "core/symbols.h"
#include "eval/errors.h"
#include "eval/eval.h"
#include "eval/evaluator_internal.h"

namespace orvane {

namespace {

struct Entry {
  Value name;
  std::uint32_t depth;
  std::uint32_t index;
};

constexpr std::uint32_t kMaxParams = 127;
constexpr std::uint32_t kMaxLocals = 511;

void rewrite(Value var, std::uint32_t depth, std::uint32_t index) {
  Node& n = node_of(var);
  n.w0 = (n.w0 & kPermanentBit) | make_fixnum(static_cast<std::int32_t>((depth << 16) | index)).bits;
}

bool is_function_head(Value head) {
  return head == g_sym.lambda || head == g_sym.syntax || head == g_sym.gamma ||
         head == g_sym.syntax_gamma || head == g_sym.new_clause;
}

class Compiler {
 public:
  Value compile(Value form, std::uint32_t depth);

 private:
  void walk(Value x, std::uint32_t depth);
  void walk_list(Value list, std::uint32_t depth);
  void bind_parameter(Value var, std::uint32_t depth, std::uint32_t index, Value form);
  std::uint32_t locals_at(std::size_t mark, std::uint32_t depth, std::uint32_t used) const;
  Value compile_lambda(Value form, std::uint32_t depth, bool syntax);
  Value compile_gamma(Value form, std::uint32_t depth, bool syntax);
  Value compile_clause(Value form, std::uint32_t depth);

  std::vector<Entry> env_;
  bool created_ = false;
};

void Compiler::walk(Value x, std::uint32_t depth) {
  if (is_variable(x)) {
    Value name = Value(node_of(x).w1);
    for (auto it = env_.rbegin(); it != env_.rend(); ++it) {
      if (it->name == name) {
        rewrite(x, depth - it->depth, it->index);
        return;
      }
    }
    std::uint32_t index = (!env_.empty() && env_.back().depth == depth) ? env_.back().index + 1 : 0;
    env_.push_back({name, depth, index});
    rewrite(x, 0, index);
    created_ = true;
    return;
  }
  if (is_pair(x)) walk_list(x, depth);
}

void Compiler::walk_list(Value list, std::uint32_t depth) {
  check_native_stack();
  Value cell = list;
  while (is_pair(cell)) {
    Value element = car(cell);
    if (is_pair(element) && is_function_head(car(element))) {
      std::size_t mark = env_.size();
      Value compiled = compile(element, depth);
      env_.resize(mark);
      switch (compiled.tag()) {
        case tag::function: case tag::syntax: case tag::gamma: case tag::syntax_gamma:
          set_car(cell, compiled);
          break;
        default:
          break;
      }
    } else {
      walk(element, depth);
    }
    cell = cdr(cell);
  }
  if (cell != kNil) walk(cell, depth);
}

void Compiler::bind_parameter(Value var, std::uint32_t depth, std::uint32_t index, Value form) {
  if (!is_variable(var)) raise_error(2, form);
  env_.push_back({Value(node_of(var).w1), depth, index});
  rewrite(var, 0, index);
}

std::uint32_t Compiler::locals_at(std::size_t mark, std::uint32_t depth, std::uint32_t used) const {
  std::uint32_t top = used;
  for (std::size_t i = mark; i < env_.size(); ++i)
    if (env_[i].depth == depth && env_[i].index + 1 > top) top = env_[i].index + 1;
  return top - used;
}

Value make_compiled(std::uint32_t tag_, std::uint32_t header, Value head, Value params, Value body) {
  Value code = cons(cons(head, params), body);
  Value node = cons(make_fixnum(static_cast<std::int32_t>(header)), code);
  return Value::make(tag_, node.payload());
}

Value Compiler::compile_lambda(Value form, std::uint32_t depth, bool syntax) {
  Value params = car(cdr(form));
  Value body = cdr(cdr(form));
  std::size_t mark = env_.size();
  std::uint32_t inner = depth + 1;
  std::uint32_t index = 0;
  Value p = params;
  for (; is_pair(p); p = cdr(p)) bind_parameter(car(p), inner, index++, form);
  std::uint32_t fixed = index;
  bool rest = false;
  if (p != kNil) {
    bind_parameter(p, inner, index++, form);
    rest = true;
  }
  walk_list(body, inner);
  std::uint32_t locals = locals_at(mark, inner, index);
  env_.resize(mark);
  if (fixed > kMaxParams || locals > kMaxLocals) raise_error(2, form);
  std::uint32_t header = locals | (rest ? 0x10000u : 0) | (fixed << 17);
  return make_compiled(syntax ? tag::syntax : tag::function, header, car(form), params, body);
}

Value Compiler::compile_gamma(Value form, std::uint32_t depth, bool syntax) {
  Value params = car(cdr(form));
  Value captures = car(cdr(cdr(form)));
  Value body = cdr(cdr(cdr(form)));

  // The captures are evaluated in the enclosing environment when the closure
  // is made: they must name variables the enclosing code binds.
  created_ = false;
  std::size_t outer_mark = env_.size();
  for (Value c = captures; is_pair(c); c = cdr(c)) {
    Value capture = car(c);
    if (is_variable(capture)) walk(capture, depth);
    else if (is_pair(capture)) walk(car(cdr(capture)), depth);
    else raise_error(2, captures);
  }
  if (created_) raise_error(2, captures);
  env_.resize(outer_mark);

  // The body sees only its own frame.
  std::vector<Entry> saved = std::move(env_);
  env_.clear();
  std::uint32_t index = 0;
  Value p = params;
  for (; is_pair(p); p = cdr(p)) bind_parameter(car(p), 0, index++, form);
  std::uint32_t fixed = index;
  bool rest = false;
  if (p != kNil) {
    bind_parameter(p, 0, index++, form);
    rest = true;
  }
  std::uint32_t capture_count = 0;
  for (Value c = captures; is_pair(c); c = cdr(c), ++capture_count) {
    Value capture = car(c);
    Value var = is_variable(capture) ? capture : car(capture);
    if (!is_variable(var)) raise_error(2, captures);
    env_.push_back({Value(node_of(var).w1), 0, index++});
  }
  walk_list(body, 0);
  std::uint32_t locals = locals_at(0, 0, index);
  env_ = std::move(saved);
  if (fixed > kMaxParams || capture_count > 127 || locals > kMaxLocals) raise_error(2, form);
  std::uint32_t header = locals | (capture_count << 9) | (rest ? 0x10000u : 0) | (fixed << 17);
  return make_compiled(syntax ? tag::syntax_gamma : tag::gamma, header, car(form),
                       cons(params, captures), body);
}

Value Compiler::compile_clause(Value form, std::uint32_t depth) {
  std::size_t mark = env_.size();
  walk_list(cdr(form), depth + 1);
  std::uint32_t count = locals_at(mark, depth + 1, 0);
  env_.resize(mark);
  return make_clause(form, count);
}

Value Compiler::compile(Value form, std::uint32_t depth) {
  Value head = car(form);
  if (head == g_sym.lambda) return compile_lambda(form, depth, false);
  if (head == g_sym.syntax) return compile_lambda(form, depth, true);
  if (head == g_sym.gamma) return compile_gamma(form, depth, false);
  if (head == g_sym.syntax_gamma) return compile_gamma(form, depth, true);
  if (head == g_sym.new_clause) return compile_clause(form, depth);
  raise_error(2, form);
}

}  // namespace

Value compile_function(Value form) {
  Compiler c;
  return c.compile(form, 0);
}

}  // namespace orvane
