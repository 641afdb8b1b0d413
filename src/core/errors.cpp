// Throws in flight, kept in a list so that the collector sees their Values.
#include "core/errors.h"

namespace orvane {

namespace {
Thrower* g_throws = nullptr;
}  // namespace

Thrower::Thrower(Value tag, Value value) : tag_(tag), value_(value), next_(g_throws) { g_throws = this; }
Thrower::Thrower(const Thrower& other) : tag_(other.tag_), value_(other.value_), next_(g_throws) {
  g_throws = this;
}
Thrower::~Thrower() {
  for (Thrower** p = &g_throws; *p; p = &(*p)->next_) {
    if (*p == this) {
      *p = next_;
      return;
    }
  }
}

void mark_throws_in_flight(void (*mark)(Value)) {
  for (Thrower* t = g_throws; t; t = t->next_) {
    mark(t->tag_);
    mark(t->value_);
  }
}

}  // namespace orvane
