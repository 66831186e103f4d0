#!/usr/bin/env bash
# Idle cost of korvane: resident memory after 60 ticks, CPU time (the scheduler's nanoseconds) and
# wake-ups (context switches) per idle minute, beside the bare Qt window the benchmarks build (bench/bare_window), which idles
# on the same private Xvfb display over the same minute. Stops everything it started by PID.
# Usage: bench/idle_cost.sh [build-dir]   Targets: resident at most 1.2x the bare window, under
# 0.05 s CPU a minute, at most one wake-up a second. With KORVANE_IDLE_CLOCKS=1 the taskbar
# overlay and the floating clock show as well.
set -euo pipefail
build=${1:-build}
# shellcheck source=bench/private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
bare=$build/bench/bare_window
[[ -x $bare ]] || { echo "no $bare: build the bench targets first" >&2; exit 1; }
work=$(mktemp -d)
bare_pid=""
trap 'stop_started $bare_pid' EXIT
start_xvfb

# The build's program folder with the list that names only 127.0.0.1 (the one the end-to-end
# tests use): nothing leaves the machine.
make_home
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
clocks=${KORVANE_IDLE_CLOCKS:-0}
if [[ $clocks == 1 ]]; then
  # A complete hive: without "Settings" the start is a first run, which writes its defaults over
  # the clocks' values.
  printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"Settings"="NO:59:Minute/s:NA"' \
    '"Protocol"="Default Time Protocol"' '"KRVLastServer"="127.0.0.1"' '"OpenMinimized"="NO"' \
    '"KRVClockSkin"="YES:YES:NO:NO"' '"KRVSkinLocal"="KRV_Default Skin.gif"' \
    '"KRVSkinDetach"="KRV_Default Skin.gif"' '"KRVSkinTransP"="200"' \
    '"KRVDetachMode"="KRV:y:y:-1:-1"' '"KRVDetachFont"="Arial,10,n,n,n,n,0,-2147483643"' '' \
    > "$work/registry.reg"
fi
start_korvane -x
started=$SECONDS
bare_environment
env "${bare_env[@]}" "$bare" &
bare_pid=$!

sleep 5  # start-up is not idle time
if [[ $clocks == 1 ]]; then
  # The frameless clock windows carry the program's name; the main window is named apart.
  mapped=0
  for _ in $(seq 50); do
    mapped=0
    for id in $(DISPLAY=$display xdotool search --onlyvisible --class '^korvane$' 2>/dev/null); do
      [[ $(DISPLAY=$display xdotool getwindowname "$id" 2>/dev/null) == korvane ]] &&
        mapped=$((mapped + 1))
    done
    [[ $mapped -ge 2 ]] && break
    sleep 0.2
  done
  [[ $mapped -ge 2 ]] || { echo "the clocks are not both shown ($mapped mapped)" >&2; exit 1; }
  echo "both clocks mapped"
  sleep 5  # the clocks come up five ticks after the start: their start-up is not idle time either
fi
# Nor is Qt's first look at its pixmap cache, 30 seconds after the first window icon went in.
while ((SECONDS - started < 32)); do sleep 1; done
thread_run_ns "$korvane_pid" >"$work/korvane.run"
thread_run_ns "$bare_pid" >"$work/bare.run"
start_wake=$(wakeups "$korvane_pid") bare_wake=$(wakeups "$bare_pid")
sleep 60
cpu=$(run_ns_since "$korvane_pid" "$work/korvane.run") wake=$(($(wakeups "$korvane_pid") - start_wake))
bcpu=$(run_ns_since "$bare_pid" "$work/bare.run") bwake=$(($(wakeups "$bare_pid") - bare_wake))
rss=$(rss_kb) brss=$(rss_kb_of "$bare_pid")

awk -v rss="$rss" -v brss="$brss" -v c="$cpu" -v bc="$bcpu" -v w="$wake" -v bw="$bwake" '
BEGIN {
  printf "resident memory: korvane %.1f MB, bare Qt window %.1f MB, ratio %.2f (target <= 1.2)\n",
    rss / 1024, brss / 1024, rss / brss
  printf "CPU per idle minute: korvane %.3f s, bare Qt window %.3f s (target < 0.05 s)\n",
    c / 1e9, bc / 1e9
  printf "wake-ups per second: korvane %.2f, bare Qt window %.2f (target <= 1)\n", w / 60, bw / 60
}'
