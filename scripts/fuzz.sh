#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $KORVANE_FUZZ_BUILD_DIR) and runs
# each for $KORVANE_FUZZ_SECONDS (default 60) seconds; fails on the first finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORVANE_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${KORVANE_FUZZ_SECONDS:-60}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_FUZZ=ON \
  -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target fuzz_server_list fuzz_hive
for target in server_list hive; do
  corpus="$build_dir/fuzz-corpus/$target"  # grows here; the committed seeds stay as they are
  mkdir -p "$corpus"
  log="$build_dir/fuzz-$target.log"
  echo "== fuzz_$target for ${seconds}s (log: $log)"
  # The fuzzer's progress lines go to the log; a finding prints its tail and fails the run.
  if ! "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
    -artifact_prefix="$build_dir/fuzz-$target-" -print_final_stats=1 \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    exit 1
  fi
  grep -E '^Done|number_of_executed_units' "$log" || true
done
