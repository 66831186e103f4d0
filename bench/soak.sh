#!/usr/bin/env bash
# Soak run: the real korvane on a private Xvfb display, synchronising every 30 seconds (the
# shortest interval, a random protocol each time) with loopback servers that misbehave at random
# (bench/soak_peers.py: no answer, late answer, garbage, early close, duplicate replies). Reports
# the requests the servers saw, the outcomes the program showed, the longest synchronisation,
# resident memory at start and end, and CPU time per minute. Not part of CI.
#
# Usage: bench/soak.sh [BUILD_DIR]   MINUTES=N (default 10)  SEED=N (default random)
#        ADDRESS=127.0.0.x (default 127.0.0.9: away from the tests' servers on 127.0.0.1)
# Needs root (the servers use ports 13, 37, 123 and 519). The program runs on a simulated clock.
set -euo pipefail
shopt -s inherit_errexit

build=${1:-build}
minutes=${MINUTES:-10}
seed=${SEED:-$((RANDOM * 32768 + RANDOM))}
address=${ADDRESS:-127.0.0.9}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/private_desktop.sh
source "$here/private_desktop.sh"
[[ $address == 127.* ]] || { echo "ADDRESS must be a loopback address" >&2; exit 1; }

work=$(mktemp -d /tmp/korvane-soak-XXXXXX)
peers_pid=""
trap 'stop_started $peers_pid' EXIT
echo "soak: seed $seed, $minutes minute(s), servers on $address, work folder $work"

python3 "$here/soak_peers.py" "$address" "$seed" >"$work/peers.log" 2>&1 &
peers_pid=$!
for _ in $(seq 50); do grep -q ready "$work/peers.log" && break; sleep 0.1; done
grep -q ready "$work/peers.log" || { cat "$work/peers.log" >&2; exit 1; }

start_xvfb
make_home
printf 'Korvane soak list\nloopback only\n-\n-\n-\n%s:::Soak Time Server NA:::2:::37:123:13:519\n' \
  "$address" >"$work/home/NXO_KRV5.KRV"
printf '%s\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"Settings"="NO:30:Second/s:NA"\n%s\n%s\n\n' \
  "Windows Registry Editor Version 5.00" "\"KRVLastServer\"=\"$address\"" \
  '"Protocol"="Automatic/Random"' >"$work/registry.reg"
echo 0 >"$work/clock-offset"

# Each status line the program shows, stamped with the time it came.
start_korvane KORVANE_DEBUG=1 \
  2> >(while IFS= read -r line; do printf '%(%s)T %s\n' -1 "$line"; done >"$work/status.log")

hz=$(getconf CLK_TCK)
sleep 5
rss_start=$(rss_kb)
cpu_last=$(cpu_ticks)
cpu_per_minute=()
died=""
for ((m = 1; m <= minutes; m++)); do
  sleep 60
  if ! kill -0 "$korvane_pid" 2>/dev/null; then
    died="korvane ended after minute $((m - 1))"
    break
  fi
  cpu_now=$(cpu_ticks)
  cpu_per_minute+=("$(awk -v t=$((cpu_now - cpu_last)) -v hz="$hz" 'BEGIN {printf "%.2f", t / hz}')")
  cpu_last=$cpu_now
  rss_end=$(rss_kb)
done

echo "== requests the servers saw (one per synchronisation started), by protocol and behaviour"
awk '$2 != "ready" {n[$2 " " $3]++; total++} END {for (k in n) printf "  %-22s %d\n", k, n[k]; printf "  started: %d\n", total}' \
  "$work/peers.log" | sort
echo "== outcomes the program showed (each change of its status line)"
awk '
  { sub(/^[0-9]+ korvane: status: */, "", $0) }
  /^Synchronizing using/ { next }
  /Adjusted by|Atomically Correct/ { n["adjusted"]++; ended++; next }
  /Timed Out/ { n["timed out"]++; ended++; next }
  /refused/ { n["refused (reply checks)"]++; ended++; next }
  /^Unable to set the clock/ { n["clock change refused"]++; ended++; next }
  /^korvane:/ { next }
  { n["other text (a server'"'"'s line or a socket error)"]++; ended++; if (!(($0) in other)) other[$0] = 1 }
  END {
    for (k in n) printf "  %-44s %d\n", k, n[k]
    printf "  ended: %d\n", ended
    for (text in other) if (shown++ < 8) printf "  other: \"%s\"\n", substr(text, 1, 70)
  }' \
  "$work/status.log"
# A status that stays "Synchronizing" longer than the time-out means a synchronisation never ended.
awk '
  { t = $1; sub(/^[0-9]+ korvane: status: */, "", $0) }
  /^Synchronizing using/ { if (!since) since = t; next }
  since { if (t - since > longest) longest = t - since; since = 0 }
  END { printf "== longest status \"Synchronizing\": %d s%s\n", longest, since ? " (one still running at the end)" : "" }' \
  "$work/status.log"
echo "== last status: $(tail -n 1 "$work/status.log" | cut -d' ' -f2-)"
echo "== resident memory: start ${rss_start} kB, end ${rss_end:-?} kB"
echo "== CPU seconds per minute: ${cpu_per_minute[*]}"
if [[ -n $died ]]; then
  echo "== FAILED: $died; its last lines:" && tail -n 20 "$work/status.log"
  exit 1
fi
echo "== korvane ran the whole $minutes minute(s); seed $seed"
