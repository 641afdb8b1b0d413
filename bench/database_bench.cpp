// Record databases on disk: adding 10,000 records and writing them with one
// update, and updating a single record of a database that large.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "storage/database.h"
#include "storage/handle_store.h"

namespace {

using namespace orvane;

std::uint32_t clock_zero() { return 0; }

std::string temp_path() {
  static std::string dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-dbbench-XXXXXX").string();
    return std::string(mkdtemp(pattern.data()));
  }();
  return dir + "/bench.db";
}

void add_records(Database& db, HandleStore& store, int n) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t h = store.create();
    store.resize(h, 32);
    std::memset(store.bytes(h).data(), 'a' + i % 26, 32);
    db.add(h, FourCC::of("DATA"), i, "");
  }
}

void BM_Add10000AndUpdate(benchmark::State& state) {
  std::string path = temp_path();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(path);
    create_database_file(path, FourCC::of("ORVN"), FourCC::of("DBSE"));
    MemoryHandleStore store;
    state.ResumeTiming();
    auto db = open_database_file(path, DbOpenMode::read_write, store, clock_zero);
    add_records(*db, store, 10000);
    db->update(true);
  }
}
BENCHMARK(BM_Add10000AndUpdate)->Unit(benchmark::kMillisecond);

void BM_UpdateOneOf10000(benchmark::State& state) {
  std::string path = temp_path();
  std::filesystem::remove(path);
  create_database_file(path, FourCC::of("ORVN"), FourCC::of("DBSE"));
  MemoryHandleStore store;
  auto db = open_database_file(path, DbOpenMode::read_write, store, clock_zero);
  add_records(*db, store, 10000);
  db->update(true);
  int i = 0;
  for (auto _ : state) {
    DbEntry* e = db->find(FourCC::of("DATA"), i++ % 10000);
    std::uint32_t h = db->load(FourCC::of("DATA"), *e, false);
    store.bytes(h)[0] ^= 1;
    db->changed(h);
    db->update(true);
  }
}
BENCHMARK(BM_UpdateOneOf10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
