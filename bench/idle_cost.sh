#!/usr/bin/env bash
# Idle cost of korvane: resident memory after 60 ticks and CPU time per idle minute.
# Runs the built binary on a private Xvfb display with a simulated clock; stops both by PID.
# Usage: bench/idle_cost.sh [build-dir]   Targets: < 60 MB resident, < 0.1 s CPU per minute.
# With KORVANE_IDLE_CLOCKS=1 the taskbar overlay and the floating clock show as well
# (targets then: < 70 MB resident, < 0.3 s CPU per minute).
set -euo pipefail
build=${1:-build}
# shellcheck source=bench/private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
work=$(mktemp -d)
trap stop_started EXIT
start_xvfb

# The build's program folder with the list that names only 127.0.0.1 (the one the end-to-end
# tests use): nothing leaves the machine.
make_home
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
if [[ ${KORVANE_IDLE_CLOCKS:-0} == 1 ]]; then
  printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"KRVClockSkin"="YES:YES:NO:NO"' \
    '"KRVDetachMode"="KRV:y:y:-1:-1"' '' > "$work/registry.reg"
fi
start_korvane -x

ticks_per_second=$(getconf CLK_TCK)
sleep 5  # start-up is not idle time
start_cpu=$(cpu_ticks)
sleep 60
end_cpu=$(cpu_ticks)
rss=$(rss_kb)

awk -v rss="$rss" -v c=$((end_cpu - start_cpu)) -v hz="$ticks_per_second" 'BEGIN {
  printf "resident memory after 65 s: %.1f MB (target < 60 MB)\n", rss / 1024
  printf "CPU time per idle minute:   %.2f s (target < 0.1 s)\n", c / hz
}'
