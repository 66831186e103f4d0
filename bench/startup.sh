#!/usr/bin/env bash
# Start-up of korvane against the bare Qt window the benchmarks build (bench/bare_window): from
# its start to its first window mapped, as the X server tells it (bench/map_watch), runs
# alternating on one private Xvfb, medians and their ratio. The bare window showing one line of
# text runs alongside: the difference is what any first text costs.
# Usage: bench/startup.sh [build-dir] [runs]   Target: ratio at most 1.2.
set -euo pipefail
build=${1:-build}
runs=${2:-15}
# shellcheck source=bench/private_desktop.sh
source "$(dirname "$0")/private_desktop.sh"
bare=$build/bench/bare_window watch=$build/bench/map_watch
for tool in "$bare" "$watch"; do
  [[ -x $tool ]] || { echo "no $tool: build the bench targets first" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'stop_started' EXIT
start_xvfb
for _ in $(seq 50); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
make_home
cp "$(dirname "$0")/../tools/peers/loopback.krv" "$work/home/NXO_KRV5.KRV"
printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_LOCAL_MACHINE\Software\Korvane]' '"Settings"="NO:59:Minute/s:NA"' \
  '"Protocol"="Default Time Protocol"' '"KRVLastServer"="127.0.0.1"' '"OpenMinimized"="NO"' '' \
  > "$work/registry.reg"
korvane_environment

korvane_ms=() bare_ms=() text_ms=()
for _ in $(seq "$runs"); do
  bare_ms+=("$(env "${bare_env[@]}" "$watch" "$bare")")
  korvane_ms+=("$(env "${environment[@]}" "$watch" "$binary" -x)")
  text_ms+=("$(env "${bare_env[@]}" "$watch" "$bare" --text)")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
k=$(median "${korvane_ms[@]}") b=$(median "${bare_ms[@]}") t=$(median "${text_ms[@]}")
echo "korvane runs (ms): ${korvane_ms[*]}"
echo "bare Qt runs (ms): ${bare_ms[*]}"
echo "bare Qt with one line of text (ms): ${text_ms[*]}"
awk -v k="$k" -v b="$b" -v t="$t" 'BEGIN {
  printf "start to mapped window, median: korvane %.1f ms, bare Qt window %.1f ms, ratio %.2f (target <= 1.2)\n", k, b, k / b
  printf "the bare window with one line of text: %.1f ms, ratio %.2f to the bare window\n", t, t / b
}'
