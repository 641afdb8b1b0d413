// The reader's throughput: Lisp source text, the compact encoding, strings.
#include <benchmark/benchmark.h>

#include <string>

#include "core/runtime.h"
#include "shell/modules.h"
#include "core/symbols.h"
#include "reader/reader.h"

using namespace orvane;

namespace {

MemoryConfig bench_config() {
  MemoryConfig c;
  c.nodes = 2000000;
  c.symbols = 1 << 16;
  c.total = 128u << 20;
  return c;
}

// Source in the style of a title's class library: definitions, sends,
// strings, numbers, keywords, logic variables and comments.
std::string sample_source(int definitions) {
  std::string text;
  for (int i = 0; i < definitions; ++i) {
    std::string n = std::to_string(i);
    text += "; definition " + n + "\r\n";
    text += "(define (handler-" + n + " _self _x _y)\r\n";
    text += "  (let ((_rect '(10 20 " + n + " 40)) (_scale 1.5))\r\n";
    text += "    (if (> _x " + n + ") (send _self 'paint :rect _rect :scale _scale)\r\n";
    text += "        (format t \"point ~a ~a in " + n + "\" _x _y))))\r\n";
  }
  return text;
}

// The same shape in the compact encoding: symbol references, small
// integers and logic variables.
std::string sample_compact(int forms) {
  std::string text;
  for (int i = 0; i < forms; ++i) {
    text += "(";
    text += std::string{'\x00', '\x0f', static_cast<char>(i & 0xff), '('};
    text += std::string{'\x0e', '\x00', '\x08', '\x0e', '\x00', '\x09', ')'};
    text += std::string{'(', '\x10', '\x01', '\x0e', '\x00', '\x08', '\x0c', '\x01', '\x2c', ')'};
    text += ")";
  }
  return text;
}

void load_compact_table() {
  std::string list{'\x02', '\x00'};
  for (int i = 0; i < 512; ++i) {
    list += "name" + std::to_string(i);
    list.push_back('\0');
  }
  load_symbol_list(reinterpret_cast<const std::uint8_t*>(list.data()), list.size());
}

void BM_ReadSource(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  const std::string text = sample_source(200);
  for (auto _ : state) benchmark::DoNotOptimize(parse_text(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadSource);

void BM_ReadSourceDatumByDatum(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  const std::string text = sample_source(200);
  for (auto _ : state) {
    TextSource source(text);
    DatumReader reader(source);
    while (auto datum = reader.next()) benchmark::DoNotOptimize(*datum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadSourceDatumByDatum);

void BM_ReadCompact(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  load_compact_table();
  const std::string text = sample_compact(2000);
  for (auto _ : state) benchmark::DoNotOptimize(parse_text(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadCompact);

void BM_ReadLongString(benchmark::State& state) {
  Runtime rt(bench_config(), register_all_modules);
  const std::string text = "\"" + std::string(30000, 'x') + "\"";
  for (auto _ : state) benchmark::DoNotOptimize(read_from_text(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLongString);

}  // namespace

BENCHMARK_MAIN();
