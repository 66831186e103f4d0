#!/usr/bin/env bash
# Idle cost of korvane: resident memory after 60 ticks and CPU time per idle minute.
# Runs the built binary on a private Xvfb display with a simulated clock; stops both by PID.
# Usage: bench/idle_cost.sh [build-dir]   Targets: < 60 MB resident, < 0.1 s CPU per minute.
# With KORVANE_IDLE_CLOCKS=1 the taskbar overlay and the floating clock show as well
# (targets then: < 70 MB resident, < 0.3 s CPU per minute).
set -euo pipefail
build=${1:-build}
binary="$build/src/app/korvane"
[[ -x $binary ]] || { echo "no $binary: build first" >&2; exit 1; }
work=$(mktemp -d)
xvfb_pid="" korvane_pid=""
cleanup() {
  [[ -n $korvane_pid ]] && kill "$korvane_pid" 2>/dev/null && wait "$korvane_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

exec 3> >(cat > "$work/display")
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
display=":$(tr -d '\n' < "$work/display")"

mkdir -m 700 "$work/runtime"
# The build's program folder with the list that names only 127.0.0.1 (the one the end-to-end
# tests use): nothing leaves the machine.
cp -r "$build/data" "$work/home"
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
if [[ ${KORVANE_IDLE_CLOCKS:-0} == 1 ]]; then
  printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"KRVClockSkin"="YES:YES:NO:NO"' \
    '"KRVDetachMode"="KRV:y:y:-1:-1"' '' > "$work/registry.reg"
fi
DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config \
  KORVANE_CLOCK_FILE=$work/clock-offset KORVANE_REGISTRY=$work/registry.reg \
  KORVANE_HOME="$work/home" QT_QPA_PLATFORM=xcb "$binary" -x &
korvane_pid=$!

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$korvane_pid/stat"; }
sleep 5  # start-up is not idle time
start_cpu=$(cpu_ticks)
sleep 60
end_cpu=$(cpu_ticks)
rss_kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$korvane_pid/status")

awk -v rss="$rss_kb" -v c=$((end_cpu - start_cpu)) -v hz="$ticks_per_second" 'BEGIN {
  printf "resident memory after 65 s: %.1f MB (target < 60 MB)\n", rss / 1024
  printf "CPU time per idle minute:   %.2f s (target < 0.1 s)\n", c / hz
}'
