#!/usr/bin/env bash
# Refreshes the committed corpus fuzz/corpus/TARGET of each fuzz target (or of
# the targets named as arguments): runs the target for a while (FUZZ_SECONDS,
# 120 by default; 0 only minimises what earlier runs in the build found) from
# its committed corpus and seeds, then keeps a near-minimal set of inputs that
# reaches every edge the runs reached (libFuzzer's -set_cover_merge=1 into an
# empty directory, on edge coverage alone so that the set stays small; inputs
# longer than FUZZ_MAX_LEN bytes, 2048 by default, are left out). Review the
# change and commit it after a good run: the next smoke run starts there.
set -euo pipefail
source "$(dirname "$0")/fuzz_build.sh"
seconds="${FUZZ_SECONDS:-120}"
max_len="${FUZZ_MAX_LEN:-2048}"
[ $# -gt 0 ] && targets=("$@")
for target in "${targets[@]}"; do
  corpus=$(prepare_corpus "$target")
  if [ "$seconds" -gt 0 ]; then
    echo "== $target: ${seconds}s"
    run_target "$target" -max_total_time="$seconds" -max_len="$max_len" "$corpus"
  fi
  merged=$(mktemp -d)
  run_target "$target" -set_cover_merge=1 -use_counters=0 -max_len="$max_len" "$merged" "$corpus" 2>&1 |
    grep 'MERGE-OUTER: .* new files' || true
  rm -rf "$root/fuzz/corpus/$target"
  mkdir -p "$root/fuzz/corpus/$target"
  # The merge names each input by the hash of its contents: an input kept
  # from the last refresh keeps its name.
  cp -- "$merged"/* "$root/fuzz/corpus/$target"/ 2>/dev/null || true
  rm -rf "$merged"
  echo "$target: $(find "$root/fuzz/corpus/$target" -type f | wc -l) inputs," \
    "$(du -sb "$root/fuzz/corpus/$target" | cut -f1) bytes"
done
