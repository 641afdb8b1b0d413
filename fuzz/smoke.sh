#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for a short while (60
# seconds by default; FUZZ_SECONDS overrides), starting from the target's
# committed corpus (fuzz/corpus/TARGET, kept by fuzz/update_corpus.sh) and its
# generated seeds, all copied into the build's fuzz/ directory: the run never
# writes into the repository.
# A crash or a sanitizer report ends the script with a non-zero status; the
# input that caused it is left in the build's fuzz/ directory.
set -euo pipefail
source "$(dirname "$0")/fuzz_build.sh"
seconds="${FUZZ_SECONDS:-60}"
for target in "${targets[@]}"; do
  corpus=$(prepare_corpus "$target")
  echo "== $target: ${seconds}s from $(find "$corpus" -type f | wc -l) inputs"
  run_target "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus"
done
