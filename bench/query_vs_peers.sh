#!/usr/bin/env bash
# Times korvane-query against the Debian clients on the loopback time servers, in one run:
#   korvane-query --protocol sntp 127.0.0.1   vs   sntp 127.0.0.1      (SNTP)
#   korvane-query --protocol time 127.0.0.1   vs   rdate -p 127.0.0.1  (Time)
# and prints each mean and the ratio. Needs root (the servers use ports 13, 37, 123 and 519).
#
# Usage: bench/query_vs_peers.sh [BUILD_DIR]   (default: build; RUNS=N sets the runs, default 30)
#
# Nothing here sets the machine's clock: korvane-query runs on a simulated clock file, sntp is
# run without its step/slew options, and rdate only ever with -p, which prints and sets nothing.
set -euo pipefail
shopt -s inherit_errexit

build=${1:-build}
runs=${RUNS:-30}
query=$build/src/app/korvane-query
peers=$build/tests/e2e/korvane-loopback-peers
for program in "$query" "$peers"; do
  [[ -x $program ]] || { echo "missing $program: build first (cmake --build $build)" >&2; exit 1; }
done
sntp=$(command -v sntp || true)
rdate=$(command -v rdate || true)
[[ -n $sntp ]] || { echo "sntp is not installed (Debian package sntp)" >&2; exit 1; }
[[ -n $rdate ]] || { echo "rdate is not installed (Debian package rdate)" >&2; exit 1; }

work=$(mktemp -d /tmp/korvane-bench-XXXXXX)
export KORVANE_CLOCK_FILE=$work/clock-offset
echo 0 >"$KORVANE_CLOCK_FILE"
peers_pid=
cleanup() {
  if [[ -n $peers_pid ]]; then
    kill "$peers_pid" 2>/dev/null || true
    wait "$peers_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The servers, started and stopped by the same helper the end-to-end tests use.
"$peers" >"$work/peers.out" 2>&1 &
peers_pid=$!
for _ in $(seq 1 300); do
  grep -q '^ready$' "$work/peers.out" && break
  kill -0 "$peers_pid" 2>/dev/null || { cat "$work/peers.out" >&2; exit 1; }
  sleep 0.05
done
grep -q '^ready$' "$work/peers.out" || { echo "the loopback servers did not start" >&2; exit 1; }

# Mean wall time of one run of a command, in milliseconds.
mean_ms() {
  if command -v hyperfine >/dev/null; then
    rm -f "$work/one.csv"
    if ! hyperfine -N --warmup 3 --runs "$runs" --export-csv "$work/one.csv" "$*" \
      >/dev/null 2>"$work/hyperfine.err"; then
      echo "failed: $*" >&2
      cat "$work/hyperfine.err" >&2
      return 1
    fi
    awk -F, 'NR == 2 { printf "%.3f", $2 * 1000 }' "$work/one.csv"
  else
    local start end
    start=$(date +%s%N)
    for _ in $(seq 1 "$runs"); do "$@" >/dev/null; done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v n="$runs" 'BEGIN { printf "%.3f", ns / n / 1e6 }'
  fi
}

compare() {
  local label=$1 ours_cmd=$2 theirs_cmd=$3 ours theirs name
  name=$(basename "${theirs_cmd%% *}")
  # One run each first, so a broken server fails here and not as a fast wrong timing.
  $ours_cmd >/dev/null
  $theirs_cmd >/dev/null
  ours=$(mean_ms $ours_cmd)
  theirs=$(mean_ms $theirs_cmd)
  printf '%-5s korvane-query %8.3f ms   %-8s %8.3f ms   ratio korvane/%s %.2f\n' \
    "$label" "$ours" "$name" "$theirs" "$name" \
    "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')"
}

echo "mean wall time per run over $runs runs ($(command -v hyperfine >/dev/null && echo hyperfine || echo shell loop))"
compare SNTP "$query --protocol sntp 127.0.0.1" "$sntp 127.0.0.1"
compare Time "$query --protocol time 127.0.0.1" "$rdate -p 127.0.0.1"

# Most of a run of either tool is starting the process; many exchanges in one run show what one
# exchange itself costs.
per=200
for protocol in sntp time; do
  total=$(mean_ms "$query" --protocol "$protocol" --count "$per" 127.0.0.1)
  printf '%-5s korvane-query --count %d: %.3f ms per exchange\n' "$protocol" "$per" \
    "$(awk -v t="$total" -v n="$per" 'BEGIN { print t / n }')"
done
