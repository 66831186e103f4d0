#!/usr/bin/env bash
# Times korvane-query --protocol nts against chronyd serving NTS on the loopback: one whole run
# (process start, TLS key establishment, one authenticated exchange), and what each further
# exchange of a --count costs once the keys are there. Plain SNTP beside it for scale. Needs root
# (ports 123 and 4460) and openssl (the test certificate).
#
# Usage: bench/nts_query.sh [BUILD_DIR]   (default: build; RUNS=N sets the runs, default 30)
#
# Nothing here sets the machine's clock: korvane-query runs on a simulated clock file and
# chronyd with -x.
set -euo pipefail
shopt -s inherit_errexit

build=${1:-build}
runs=${RUNS:-30}
query=$build/src/app/korvane-query
peers=$build/tests/e2e/korvane-loopback-peers
for program in "$query" "$peers"; do
  [[ -x $program ]] || { echo "missing $program: build first (cmake --build $build)" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "hyperfine is not installed" >&2; exit 1; }

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

"$peers" nts >"$work/peers.out" 2>&1 &
peers_pid=$!
for _ in $(seq 1 300); do
  grep -q '^nts-ca ' "$work/peers.out" && break
  kill -0 "$peers_pid" 2>/dev/null || { cat "$work/peers.out" >&2; exit 1; }
  sleep 0.05
done
ca=$(sed -n 's/^nts-ca //p' "$work/peers.out")
[[ -n $ca ]] || { echo "the loopback servers did not start" >&2; exit 1; }

# Mean wall time of one run of a command, in milliseconds.
mean_ms() {
  rm -f "$work/one.csv"
  "$@" >/dev/null # a broken server fails here, not as a fast wrong timing
  hyperfine -N --warmup 3 --runs "$runs" --export-csv "$work/one.csv" "$*" >/dev/null 2>&1
  awk -F, 'NR == 2 { printf "%.3f", $2 * 1000 }' "$work/one.csv"
}

nts=("$query" --protocol nts --ca "$ca")
one=$(mean_ms "${nts[@]}" localhost)
plain=$(mean_ms "$query" --protocol sntp 127.0.0.1)
per=200
many=$(mean_ms "${nts[@]}" --count $((per + 1)) localhost)
echo "mean wall time per run over $runs runs (hyperfine)"
printf 'one whole korvane-query --protocol nts run: %8.3f ms   (plain sntp run %.3f ms)\n' "$one" "$plain"
printf 'each further authenticated exchange of --count: %.3f ms\n' \
  "$(awk -v m="$many" -v o="$one" -v n="$per" 'BEGIN { print (m - o) / n }')"
