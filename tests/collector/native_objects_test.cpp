// Native objects and the collector: which objects a collection finds dead,
// that they are closed later (never inside a collection) with their Values
// intact, that stale ids stay stale, and the registered extra roots.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "collector/gc_test_support.h"
#include "core/native_objects.h"
#include "eval/eval.h"

namespace orvane {
namespace {

using namespace orvane::testing;

using NativeObjectsTest = CollectorTest;

// What the closes of probes saw.
struct Closes {
  int count = 0;
  std::string held_text;
  std::string lisp_text;
};

// A native object holding one Value; its close (destructor) may run Lisp
// and collect.
class Probe : public NativeObject {
 public:
  Probe(Closes& closes, Value held, bool run_lisp = false)
      : closes_(closes), held_(held), run_lisp_(run_lisp) {}
  ~Probe() override {
    ++closes_.count;
    if (run_lisp_) {
      Value made = eval(list({sym("list"), num(1), num(2), make_string("made by a close")}));
      closes_.lisp_text = text(car(cdr(cdr(made))));
      collect_clean();
    }
    if (is_string(held_)) closes_.held_text = text(held_);
  }
  void mark_values(ValueMarker& marker) override { marker.mark(held_); }
  void hold(Value v) { held_ = v; }

 private:
  Closes& closes_;
  Value held_;
  bool run_lisp_;
};

[[gnu::noinline]] Value make_probe(Closes& closes, const char* held, bool run_lisp = false,
                                   PointerKind kind = PointerKind::cpp_object) {
  Value s = held ? make_string(held) : kNil;
  return make_native_pointer(std::make_unique<Probe>(closes, s, run_lisp), kind);
}

[[gnu::noinline]] void drop_probe(Closes& closes, const char* held, bool run_lisp = false,
                                  PointerKind kind = PointerKind::cpp_object) {
  make_probe(closes, held, run_lisp, kind);
}

[[gnu::noinline]] void make_garbage(std::uint32_t strings) {
  for (std::uint32_t i = 0; i < strings; ++i) make_string("garbage that overwrites freed space");
}

// The flags outlive the tests: the run-time destroys the objects still live
// when it ends.
Closes g_closes;

// --- Closing --------------------------------------------------------------------------------

TEST_F(NativeObjectsTest, ADeadObjectIsClosedWhenTheQueueIsDrainedNeverDuringACollection) {
  Closes& closes = g_closes = Closes{};
  std::size_t live = g_native_objects.live_count();
  drop_probe(closes, "held", true);

  collect_clean();
  make_garbage(200);
  collect_clean();
  EXPECT_EQ(closes.count, 0) << "a close that runs Lisp ran inside a collection";
  EXPECT_TRUE(g_native_objects.has_released());
  EXPECT_EQ(g_native_objects.live_count(), live + 1);

  close_released_native_objects();
  EXPECT_EQ(closes.count, 1);
  EXPECT_EQ(closes.lisp_text, "made by a close");
  EXPECT_EQ(closes.held_text, "held");
  EXPECT_FALSE(g_native_objects.has_released());
  EXPECT_EQ(g_native_objects.live_count(), live);
}

TEST_F(NativeObjectsTest, TheValuesOfAnObjectAwaitingItsCloseSurviveLaterCollections) {
  static Closes waiting, collecting;
  waiting = collecting = Closes{};
  drop_probe(waiting, "only the dead object holds this");
  for (int i = 0; i < 3; ++i) {
    collect_clean();
    make_garbage(500);
  }
  // This close collects before it reads its Value.
  drop_probe(collecting, "held while closing", true);
  collect_clean();
  close_released_native_objects();
  EXPECT_EQ(waiting.held_text, "only the dead object holds this");
  EXPECT_EQ(collecting.held_text, "held while closing");
}

TEST_F(NativeObjectsTest, TheToplevelClosesDeadObjectsBeforeTheNextForm) {
  Closes& closes = g_closes = Closes{};
  drop_probe(closes, nullptr);
  collect_clean();
  ASSERT_EQ(closes.count, 0);
  run(list({sym("list")}));
  EXPECT_EQ(closes.count, 1);
}

[[gnu::noinline]] void drop_probe_holding_itself(Closes& closes) {
  Value p = make_probe(closes, nullptr);
  native_as<Probe>(p, PointerKind::cpp_object).hold(list({make_string("cycle"), p}));
}

// A stray word on the native stack (sanitizer builds leave many) may keep
// one of the dropped objects alive; the tests below drop several.
constexpr int kDropped = 10;

TEST_F(NativeObjectsTest, AnObjectReachableOnlyFromItsOwnValuesIsClosed) {
  Closes& closes = g_closes = Closes{};
  for (int i = 0; i < kDropped; ++i) drop_probe_holding_itself(closes);
  collect_clean();
  close_released_native_objects();
  EXPECT_GE(closes.count, kDropped - 2);
}

[[gnu::noinline]] std::uint32_t drop_probe_keeping_its_id(Closes& closes) {
  return pointer_address(make_probe(closes, nullptr));
}

TEST_F(NativeObjectsTest, AnObjectReleasedByNativeCodeWhileAwaitingItsCloseIsClosedOnce) {
  Closes& closes = g_closes = Closes{};
  std::array<std::uint32_t, kDropped> ids;
  for (auto& id : ids) id = drop_probe_keeping_its_id(closes);
  collect_clean();
  ASSERT_TRUE(g_native_objects.has_released());
  for (std::uint32_t id : ids) g_native_objects.release(id);
  EXPECT_EQ(closes.count, kDropped);
  close_released_native_objects();
  EXPECT_EQ(closes.count, kDropped);
}

// --- Every owning kind ----------------------------------------------------------------------

constexpr std::array kOwningKinds = {PointerKind::cpp_object, PointerKind::file,    PointerKind::region,
                                     PointerKind::process,    PointerKind::offscreen, PointerKind::port,
                                     PointerKind::picture,    PointerKind::text};

TEST_F(NativeObjectsTest, EveryKindOfNativePointerMarksItsValuesAndReleasesItsObject) {
  static std::array<Closes, kOwningKinds.size()> kept_closes, dropped_closes;
  Keep keep;
  for (std::size_t i = 0; i < kOwningKinds.size(); ++i) {
    kept_closes[i] = dropped_closes[i] = Closes{};
    keep[i] = make_probe(kept_closes[i], "kept", false, kOwningKinds[i]);
    drop_probe(dropped_closes[i], "dropped", false, kOwningKinds[i]);
  }
  collect_clean();
  make_garbage(500);
  close_released_native_objects();
  for (std::size_t i = 0; i < kOwningKinds.size(); ++i) {
    SCOPED_TRACE(static_cast<int>(kOwningKinds[i]));
    EXPECT_EQ(dropped_closes[i].count, 1);
    EXPECT_EQ(dropped_closes[i].held_text, "dropped");
    EXPECT_EQ(kept_closes[i].count, 0);
    g_native_objects.release(pointer_address(keep[i]));
    EXPECT_EQ(kept_closes[i].held_text, "kept") << "the kept object's Value was not marked";
  }
}

// Other pointers carrying the same number: a handle, and a pointer of the
// same kind that the table did not make.
[[gnu::noinline]] void drop_pointers_carrying(std::uint32_t id) {
  make_pointer(id, PointerKind::handle);
  make_pointer(id, PointerKind::cpp_object);
}

TEST_F(NativeObjectsTest, OnlyTheOwningPointerMarksOrReleasesAnObject) {
  Closes& closes = g_closes = Closes{};
  GcRoot owner(make_probe(closes, "owned"));
  std::uint32_t id = pointer_address(owner.get());
  drop_pointers_carrying(id);
  collect_clean();
  close_released_native_objects();
  EXPECT_EQ(closes.count, 0);
  EXPECT_NE(g_native_objects.find(id), nullptr);
}

// --- Stale ids -----------------------------------------------------------------------------------

class ReuseAtOnce {
 public:
  ReuseAtOnce() { g_native_objects.set_reuse_distance(0); }
  ~ReuseAtOnce() { g_native_objects.set_reuse_distance(NativeObjectTable::kDefaultReuseDistance); }
};

// A pointer Value made and disposed of the way `disposergn` does.
[[gnu::noinline]] void make_and_dispose(Closes& closes) {
  Value p = make_probe(closes, nullptr);
  g_native_objects.release(pointer_address(p));
  node_of(p).w1 = 0;
}

TEST_F(NativeObjectsTest, AKeptStalePointerNeverNamesALaterObjectAndTheTableStaysSmall) {
  ReuseAtOnce at_once;
  Closes& closes = g_closes = Closes{};
  // A pointer whose object was released but which still carries its id.
  GcRoot stale(make_probe(closes, nullptr));
  std::uint32_t id = pointer_address(stale.get());
  g_native_objects.release(id);
  std::size_t slots = g_native_objects.slot_count();

  for (int cycle = 0; cycle < 20'000; ++cycle) {
    make_and_dispose(closes);
    ASSERT_EQ(g_native_objects.find(id), nullptr) << "after " << cycle << " reuses";
    if (cycle % 1000 == 999) collect_clean();
  }
  EXPECT_EQ(closes.count, 20'001);
  // Slots retire every 4,095 reuses; only the one the stale pointer names stays retired.
  EXPECT_LE(g_native_objects.slot_count(), slots + 2);
}

TEST_F(NativeObjectsTest, ACreateAndDropLoopKeepsTheTableBounded) {
  Closes& closes = g_closes = Closes{};
  for (int cycle = 0; cycle < 20'000; ++cycle) {
    drop_probe(closes, nullptr);
    if (cycle % 500 == 499) {
      collect_clean();
      close_released_native_objects();
    }
  }
  EXPECT_GE(closes.count, 19'000);
  EXPECT_LE(g_native_objects.slot_count(), NativeObjectTable::kDefaultReuseDistance + 1000);
}

// --- Extra roots ------------------------------------------------------------------------------------

Value first_root, second_root;

[[gnu::noinline]] void make_roots(Closes& first, Closes& second) {
  first_root = make_probe(first, nullptr);
  second_root = make_probe(second, nullptr);
}

TEST_F(NativeObjectsTest, ExtraRootsAreMarkedWhileRegistered) {
  static Closes first, second;
  first = second = Closes{};
  make_roots(first, second);
  ExtraRoots kept([](ValueMarker& m) { m.mark(first_root); });
  {
    ExtraRoots ended([](ValueMarker& m) { m.mark(second_root); });
    collect_clean();
    close_released_native_objects();
    EXPECT_EQ(second.count, 0);
  }
  collect_clean();
  close_released_native_objects();
  EXPECT_EQ(first.count, 0);
  EXPECT_EQ(second.count, 1);
}

}  // namespace
}  // namespace orvane
