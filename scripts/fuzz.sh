#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $KORVANE_FUZZ_BUILD_DIR) and runs
# each for $KORVANE_FUZZ_SECONDS (default 20) seconds; fails on the first finding. Names given as
# arguments (e.g. "sntp daytime") run only those targets. With $CI set (or KORVANE_FUZZ_SEED) each
# target runs a fixed number of inputs from a fixed seed, so CI's verdict is the same on every run;
# without it each run explores afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORVANE_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${KORVANE_FUZZ_SECONDS:-20}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(server_list hive daytime sntp tcp_reply sync_reply query_args http_response skin_image nts_ke nts_fields)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_FUZZ=ON \
  -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build_dir" --target "${targets[@]/#/fuzz_}"
seed=${KORVANE_FUZZ_SEED:-}
[ -n "${CI:-}" ] && seed=${seed:-1}
runs_for() { # inputs per target in the seeded run: about ten seconds each on a 2-core machine
  case $1 in
    skin_image) echo 5000 ;;
    server_list | tcp_reply | sync_reply | nts_fields) echo 100000 ;;
    *) echo 300000 ;;
  esac
}
for target in "${targets[@]}"; do
  limits=(-max_total_time="$seconds")
  [ -n "$seed" ] && limits+=(-seed="$seed" -runs="$(runs_for "$target")")
  corpus="$build_dir/fuzz-corpus/$target"  # grows here; the committed seeds stay as they are
  if [ -n "$seed" ]; then  # a seeded run starts from the committed seeds alone
    corpus="$build_dir/fuzz-corpus-seeded/$target"
    rm -rf "$corpus"
  fi
  mkdir -p "$corpus" "fuzz/corpus/$target"
  log="$build_dir/fuzz-$target.log"
  started=$SECONDS
  # The fuzzer's progress lines go to the log; a finding prints its tail and fails the run.
  if ! "$build_dir/fuzz/fuzz_$target" "${limits[@]}" -max_len=65536 \
    -artifact_prefix="$build_dir/fuzz-$target-" -print_final_stats=1 \
    "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$target: FINDING (log: $log)"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$target: ${runs:-?} runs in $((SECONDS - started)) s, no finding (log: $log)"
done
