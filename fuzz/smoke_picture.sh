#!/usr/bin/env bash
# Builds picture_fuzz with clang and runs it on its seed corpus for at most
# 60 seconds (FUZZ_SECONDS shortens it). A crash, a sanitizer report or a
# time-out ends the script with a non-zero status.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
[ "$seconds" -gt 60 ] && seconds=60
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_FUZZ=ON -DORVANE_BENCH=OFF "${launcher[@]}" >/dev/null
fi
ninja -C "$build" picture_fuzz
corpus="$build/fuzz/corpus-picture_fuzz"
"$root/fuzz/seeds/picture_fuzz.sh" "$corpus"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
  "$build/fuzz/picture_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/fuzz/" -print_final_stats=1 "$corpus"
