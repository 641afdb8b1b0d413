// Copying, concatenating, reversing and destructive surgery on lists.
#include <algorithm>
#include <vector>

#include "core/primitives.h"
#include "core/work_stack.h"
#include "lib/lists_internal.h"

namespace orvane::lists {

Value copy_list(Value list) {
  ListBuilder out;
  for (; is_pair(list); list = cdr(list)) out.push_back(car(list));
  if (!is_nil(list)) {
    if (out.empty()) return list;
    set_cdr(out.tail(), list);
  }
  return out.head();
}

namespace {

// --- Concatenation ---------------------------------------------------------

Value p_append(RestArgs rest) {
  std::size_t n = rest.size();
  while (n > 0 && is_nil(rest[n - 1])) --n;
  if (n == 0) return kNil;
  // Every argument but the last non-nil one is copied; that one is shared.
  ListBuilder out;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    require_list(rest[i]);
    for (Value l = rest[i]; is_pair(l); l = cdr(l)) out.push_back(car(l));
  }
  if (out.empty()) return rest[n - 1];
  set_cdr(out.tail(), rest[n - 1]);
  return out.head();
}

Value last_pair_of(Value list) {
  while (is_pair(cdr(list))) list = cdr(list);
  return list;
}

Value p_append_destructive(RestArgs rest) {
  // Refuse before anything is relinked: an atom followed by more arguments
  // has no cdr to receive them, and two arguments that share their last pair
  // would be linked into a cycle.
  std::vector<Value> last_pairs;  // pairs of the arguments: no root needed
  bool seen_atom = false;
  for (Value x : rest) {
    if (is_nil(x)) continue;
    if (seen_atom) raise_error(2, x);
    seen_atom = !is_pair(x);
    if (seen_atom) continue;
    Value last = last_pair_of(x);
    if (std::find(last_pairs.begin(), last_pairs.end(), last) != last_pairs.end())
      raise_error(2, x);
    last_pairs.push_back(last);
  }
  Value first = kNil;
  std::size_t linked = 0;
  for (Value x : rest) {
    if (is_nil(x)) continue;
    if (is_nil(first)) first = x;
    else set_cdr(last_pairs[linked++], x);
  }
  return first;
}

// --- Reversing and copying ---------------------------------------------------

Value p_reverse(Value list) {
  require_list(list);
  if (!is_pair(cdr(list))) return list;
  Value result = kNil;
  for (; is_pair(list); list = cdr(list)) result = cons(car(list), result);
  return result;
}

Value p_reverse_destructive(Value list) {
  require_list(list);
  Value result = kNil;
  while (is_pair(list)) {
    Value next = cdr(list);
    set_cdr(list, result);
    result = list;
    list = next;
  }
  return result;
}

Value p_copy_list(Value list) {
  require_list(list);
  return copy_list(list);
}

// Iteration along the cdrs; going down a car suspends the list being copied
// on a work stack, so no depth of nesting reaches the native stack. The
// copy is linked into `copy` as it grows and the suspended originals are
// parts of the tree, so the collector sees everything the stack holds.
Value copy_tree(Value tree) {
  if (!is_pair(tree)) return tree;
  Value copy = cons(kNil, kNil);
  struct Suspended {
    Value copy, original;
  };
  WorkStack<Suspended> suspended;
  Value out = copy;
  Value in = tree;
  for (;;) {
    Value element = car(in);
    if (is_pair(element)) {
      suspended.push({out, in});
      Value first = cons(kNil, kNil);
      set_car(out, first);
      out = first;
      in = element;
      continue;
    }
    set_car(out, element);
    // Along the cdrs, finishing every list that ends here.
    for (;;) {
      Value next = cdr(in);
      if (is_pair(next)) {
        Value cell = cons(kNil, kNil);
        set_cdr(out, cell);
        out = cell;
        in = next;
        break;
      }
      set_cdr(out, next);
      if (suspended.empty()) return copy;
      Suspended resumed = suspended.pop();
      out = resumed.copy;
      in = resumed.original;
    }
  }
}

Value p_copy_tree(Value tree) { return copy_tree(tree); }

// --- Transposing -------------------------------------------------------------

// The rows list's own pairs hold the cursors; columns are built from the
// rows' pairs when reuse_rows is set, from new pairs otherwise.
Value transpose_rows(Value rows, bool reuse_rows) {
  ListBuilder columns;
  while (is_pair(rows) && is_pair(car(rows))) {
    ListBuilder column;
    for (Value r = rows; is_pair(r); r = cdr(r)) {
      Value cell = car(r);
      if (!is_pair(cell)) {
        column.push_back(kNil);
        continue;
      }
      set_car(r, cdr(cell));
      if (reuse_rows) {
        set_cdr(cell, kNil);
        column.link(cell);
      } else {
        column.push_back(car(cell));
      }
    }
    columns.push_back(column.head());
  }
  return columns.head();
}

Value p_transpose(Value rows) {
  require_list(rows);
  return transpose_rows(copy_list(rows), false);
}
Value p_transpose_destructive(Value rows) {
  require_list(rows);
  return transpose_rows(rows, true);
}

// --- Sub-lists and moves ---------------------------------------------------------

Value p_subseq(Value list, Value start_value, Value end_value) {
  require_list(list);
  auto start = static_cast<std::int16_t>(integer_of(start_value));
  std::int32_t end = is_nil(end_value) ? INT32_MAX
                                       : static_cast<std::int16_t>(integer_of(end_value));
  if (start < 0) raise_error(2, start_value);
  ListBuilder out;
  Value l = pair_at(list, start);
  for (std::int32_t i = start; i < end && is_pair(l); ++i, l = cdr(l)) out.push_back(car(l));
  return out.head();
}

Value p_change_rank(Value list, Value from_value, Value to_value) {
  require_list(list);
  auto length = static_cast<std::int32_t>(list_length(list));
  std::int32_t from = integer_of(from_value);
  if (from < 0 || from >= length) raise_error(2, from_value);
  std::int32_t target = length;
  if (!is_nil(to_value)) {
    std::int32_t to = integer_of(to_value);
    if (to < 0) raise_error(2, to_value);
    target = std::min(length, to);
  }
  if (target == from || target == from + 1) return list;

  // The pair after which the moved one goes, found before anything moves.
  Value anchor = target > 0 ? pair_at(list, target - 1) : kNil;
  Value moved;
  if (from == 0) {
    moved = list;
    list = cdr(list);
  } else {
    Value before = pair_at(list, from - 1);
    moved = cdr(before);
    set_cdr(before, cdr(moved));
  }
  if (target == 0) {
    set_cdr(moved, list);
    return moved;
  }
  set_cdr(moved, cdr(anchor));
  set_cdr(anchor, moved);
  return list;
}

// --- Removing and replacing ----------------------------------------------------------

Value p_remove(Value x, Value list, Value key, Value test) {
  require_list(list);
  if (!is_pair(list)) return list;
  if (matches(test, x, key_of(key, car(list)))) return cdr(list);
  ListBuilder copy;
  copy.push_back(car(list));
  for (Value l = cdr(list); is_pair(l); l = cdr(l)) {
    if (matches(test, x, key_of(key, car(l)))) {
      set_cdr(copy.tail(), cdr(l));
      return copy.head();
    }
    copy.push_back(car(l));
  }
  return list;
}

Value p_remove_destructive(Value x, Value list, Value key, Value test) {
  require_list(list);
  if (!is_pair(list)) return kNil;
  if (matches(test, x, key_of(key, car(list)))) return cdr(list);
  for (Value before = list; is_pair(cdr(before)); before = cdr(before)) {
    Value cell = cdr(before);
    if (matches(test, x, key_of(key, car(cell)))) {
      set_cdr(before, cdr(cell));
      break;
    }
  }
  return list;
}

Value p_remove_tail(Value cell, Value list) {
  require_list(list);
  if (!is_pair(list)) return kNil;
  if (list == cell) return cdr(list);
  for (Value before = list; is_pair(cdr(before)); before = cdr(before)) {
    if (cdr(before) == cell) {
      set_cdr(before, cdr(cell));
      break;
    }
  }
  return list;
}

Value p_replace(Value old_value, Value new_value, Value list) {
  require_list(list);
  for (Value l = list; is_pair(l); l = cdr(l)) {
    if (equal(old_value, car(l))) {
      set_car(l, new_value);
      break;
    }
  }
  return list;
}

}  // namespace

void register_list_building() {
  defprim("append", p_append);
  defprim("append!", p_append_destructive);
  defprim("reverse", p_reverse);
  defprim("reverse!", p_reverse_destructive);
  defprim("copy-list", p_copy_list);
  defprim("copy-tree", p_copy_tree);
  defprim("transpose", p_transpose, arity::system);
  defprim("transpose!", p_transpose_destructive, arity::system);
  defprim("subseq", p_subseq);
  defprim("change-rank!", p_change_rank);
  defprim("remove", p_remove);
  defprim("remove!", p_remove_destructive);
  defprim("remove-tail!", p_remove_tail);
  defprim("replace!", p_replace);
}

}  // namespace orvane::lists
