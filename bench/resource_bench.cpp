// Opening a resource file of 5,000 resources, and looking resources up by
// type and id.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/byte_reader.h"
#include "storage/resource_manager.h"

namespace orvane {
namespace {

constexpr int kResources = 5000;
constexpr int kTypes = 8;
constexpr int kLookups = 100000;

FourCC type_number(int t) {
  char code[5];
  std::snprintf(code, sizeof code, "TY%02d", t);
  return FourCC::of(code);
}

struct Key {
  FourCC type;
  std::int16_t id;
};

// The resources looked up, in a random order fixed for every run.
std::vector<Key> lookups() {
  std::mt19937 rng(42);
  std::vector<Key> keys(kLookups);
  for (Key& k : keys) {
    int id = static_cast<int>(rng() % kResources);
    k = {type_number(id % kTypes), static_cast<std::int16_t>(id)};
  }
  return keys;
}

// A file of kResources resources spread over kTypes types, 16 bytes each,
// every tenth with a name.
std::vector<std::uint8_t> big_file() {
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  auto image = ResourceFile::empty_file_image("Bench.RI", FourCC::of("ORVN"), FourCC::of("rsrc"));
  int ref = m.open_storage("bench", std::make_unique<MemoryFile>(image));
  for (int i = 0; i < kResources; ++i) {
    std::uint32_t h = store.create();
    store.resize(h, 16);
    std::memset(store.bytes(h).data(), i & 0xff, 16);
    m.add(h, type_number(i % kTypes), static_cast<std::int16_t>(i), i % 10 == 0 ? "name" + std::to_string(i) : "");
  }
  m.update(ref);
  return dynamic_cast<MemoryFile&>(m.file(ref)->storage()).bytes();
}

const std::vector<std::uint8_t>& file_bytes() {
  static const std::vector<std::uint8_t> bytes = big_file();
  return bytes;
}

void BM_OpenFileOf5000Resources(benchmark::State& state) {
  const auto& bytes = file_bytes();
  for (auto _ : state) {
    MemoryHandleStore store;
    FileRefTable refs;
    ResourceManager m(store, refs);
    int ref = m.open_storage("bench", std::make_unique<MemoryFile>(bytes, false));
    benchmark::DoNotOptimize(ref);
    // The first lookup builds the map's index: count it as part of opening.
    benchmark::DoNotOptimize(m.get(type_number(0), 0));
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenFileOf5000Resources)->Unit(benchmark::kMicrosecond);

void BM_100kLookupsByTypeAndId(benchmark::State& state) {
  MemoryHandleStore store;
  FileRefTable refs;
  ResourceManager m(store, refs);
  m.open_storage("bench", std::make_unique<MemoryFile>(file_bytes(), false));
  const std::vector<Key> keys = lookups();
  for (const Key& k : keys) m.get(k.type, k.id);  // every handle loaded once
  for (auto _ : state) {
    std::uint32_t sum = 0;
    for (const Key& k : keys) sum += m.get(k.type, k.id);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_100kLookupsByTypeAndId)->Unit(benchmark::kMillisecond);

void BM_100kLookupsInTheMapAlone(benchmark::State& state) {
  std::unique_ptr<ResourceFile> file;
  ResourceFile::open(std::make_unique<MemoryFile>(file_bytes(), false), OpenOptions{}, file);
  const std::vector<Key> keys = lookups();
  for (auto _ : state) {
    std::uint32_t sum = 0;
    for (const Key& k : keys) sum += file->map().find_id(k.type, k.id).value_or(0);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}
BENCHMARK(BM_100kLookupsInTheMapAlone)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
