#!/usr/bin/env bash
# Start-up of korvane against the bare Qt window the benchmarks build (bench/bare_window): from
# exec to the process's first window mapped, runs alternating on one private Xvfb, medians and
# their ratio. Usage: bench/startup.sh [build-dir] [runs]   Target: ratio at most 1.2.
set -euo pipefail
build=${1:-build}
runs=${2:-9}
# shellcheck source=bench/private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
bare=$build/bench/bare_window
[[ -x $bare ]] || { echo "no $bare: build the bench targets first" >&2; exit 1; }
work=$(mktemp -d)
bare_pid=""
trap 'stop_started $bare_pid' EXIT
start_xvfb
for _ in $(seq 50); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
make_home
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"Settings"="NO:59:Minute/s:NA"' \
  '"Protocol"="Default Time Protocol"' '"KRVLastServer"="127.0.0.1"' '"OpenMinimized"="NO"' '' \
  > "$work/registry.reg"

korvane_ms=() bare_ms=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  DISPLAY=$display XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$bare" &
  bare_pid=$!
  bare_ms+=("$(ms_to_mapped "$bare_pid" "$start")")
  kill "$bare_pid" && wait "$bare_pid" 2>/dev/null || true
  bare_pid=""
  start=$(date +%s%N)
  start_korvane -x
  korvane_pid=$!
  korvane_ms+=("$(ms_to_mapped "$korvane_pid" "$start")")
  kill "$korvane_pid" && wait "$korvane_pid" 2>/dev/null || true
  korvane_pid=""
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
k=$(median "${korvane_ms[@]}")
b=$(median "${bare_ms[@]}")
echo "korvane runs (ms): ${korvane_ms[*]}"
echo "bare Qt runs (ms): ${bare_ms[*]}"
awk -v k="$k" -v b="$b" 'BEGIN {
  printf "exec to mapped window, median: korvane %d ms, bare Qt window %d ms, ratio %.2f (target <= 1.2)\n", k, b, k / b
}'
