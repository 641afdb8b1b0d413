#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for a short while on its
# generated seed corpus (60 seconds by default; FUZZ_SECONDS overrides).
# A crash or a sanitizer report ends the script with a non-zero status; the
# input that caused it is left in the build's fuzz/ directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF "${launcher[@]}" >/dev/null
else
  # Targets added since the last run must appear in the list.
  cmake "$build" >/dev/null
fi
mapfile -t targets < <(grep -v '^$' "$build/fuzz/targets.txt")
ninja -C "$build" "${targets[@]}"
for target in "${targets[@]}"; do
  corpus="$build/fuzz/corpus-$target"
  mkdir -p "$corpus"
  if [ -x "$root/fuzz/seeds/$target.sh" ]; then
    "$root/fuzz/seeds/$target.sh" "$corpus"
  fi
  echo "== $target: ${seconds}s"
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/fuzz/$target-" -print_final_stats=1 "$corpus"
done
