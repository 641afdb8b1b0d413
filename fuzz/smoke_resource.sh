#!/usr/bin/env bash
# Builds resource_fuzz with clang and runs it on its seed corpus for at most
# 55 seconds, so that the run ends within a minute (FUZZ_SECONDS shortens
# it). A crash, a sanitizer report or a time-out ends the script with a
# non-zero status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-55}"
[ "$seconds" -gt 55 ] && seconds=55
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF "${launcher[@]}" >/dev/null
fi
ninja -C "$build" resource_fuzz
corpus="$build/fuzz/corpus-resource_fuzz"
"$root/fuzz/seeds/resource_fuzz.sh" "$corpus"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
  "$build/fuzz/resource_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus"
