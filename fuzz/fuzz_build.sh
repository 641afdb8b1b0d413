# Sourced by fuzz/smoke.sh and fuzz/update_corpus.sh: configures (once) and
# builds the fuzz targets in $FUZZ_BUILD_DIR (build-fuzz by default), and
# defines the helpers both use. Sets root, build and targets.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
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

# prepare_corpus TARGET: the build's working corpus of TARGET, holding what
# earlier runs in this build found, the committed corpus and the seeds.
# Prints its directory.
prepare_corpus() {
  local target=$1
  local corpus="$build/fuzz/corpus-$target"
  mkdir -p "$corpus"
  if [ -d "$root/fuzz/corpus/$target" ]; then
    cp -- "$root/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
  fi
  if [ -x "$root/fuzz/seeds/$target.sh" ]; then
    "$root/fuzz/seeds/$target.sh" "$corpus" >&2
  fi
  echo "$corpus"
}

# run_target TARGET LIBFUZZER-ARGUMENTS...
run_target() {
  local target=$1
  shift
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
    "$build/fuzz/$target" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/fuzz/$target-" "$@"
}
