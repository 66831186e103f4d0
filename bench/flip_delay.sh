#!/usr/bin/env bash
# How long after the true second the floating clock's seconds change: korvane on a private Xvfb
# with its clock at offset 0 from the machine's, the floating clock alone on screen, its pixels
# watched around each second for about 30 seconds (bench/flip_watch). Prints the median and the
# worst. Usage: bench/flip_delay.sh [build-dir] [seconds]   Target: within 20 ms.
set -euo pipefail
build=${1:-build}
seconds=${2:-30}
# shellcheck source=bench/private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
watch=$build/bench/flip_watch
[[ -x $watch ]] || { echo "no $watch: build the bench targets first" >&2; exit 1; }
work=$(mktemp -d)
trap 'stop_started' EXIT
start_xvfb
make_home
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
echo 0 >"$work/clock-offset"
# The floating clock with seconds, no taskbar overlay.
printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"Settings"="NO:59:Minute/s:NA"' \
  '"Protocol"="Default Time Protocol"' '"KRVLastServer"="127.0.0.1"' '"OpenMinimized"="NO"' \
  '"KRVClockSkin"="NO:YES:YES:NO"' '"KRVSkinLocal"="KRV_Default Skin.gif"' \
  '"KRVSkinDetach"="KRV_Default Skin.gif"' '"KRVSkinTransP"="255"' \
  '"KRVDetachMode"="KRV:y:y:-1:-1"' '"KRVDetachFont"="Arial,10,n,n,n,n,0,-2147483643"' '' \
  >"$work/registry.reg"
start_korvane -x

# The frameless clock window carries the program's name; the main window is named apart.
clock=""
for _ in $(seq 100); do
  for id in $(DISPLAY=$display xdotool search --onlyvisible --class '^korvane$' 2>/dev/null); do
    [[ $(DISPLAY=$display xdotool getwindowname "$id" 2>/dev/null) == korvane ]] && clock=$id
  done
  [[ -n $clock ]] && break
  sleep 0.2
done
[[ -n $clock ]] || { echo "the floating clock is not shown" >&2; exit 1; }
sleep 2  # start-up is over
DISPLAY=$display "$watch" "$clock" "$seconds"
