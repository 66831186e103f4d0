# shellcheck shell=bash
# shellcheck disable=SC2154  # build and work are the sourcing script's
# Sourced by the bench scripts: the built korvane on a private Xvfb display, in a work folder of
# its own, on a simulated clock. Set `build` before sourcing and `work` (a new folder) before the
# first call; what is started here is stopped by its PID.

binary=$build/src/app/korvane
[[ -x $binary ]] || { echo "no $binary: build first" >&2; exit 1; }
xvfb_pid="" korvane_pid=""

# Stops korvane, then the given PIDs, then Xvfb, and removes the work folder.
stop_started() {
  local pid
  for pid in $korvane_pid "$@" $xvfb_pid; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}

# Starts Xvfb on a display number it picks itself; sets xvfb_pid and display. Without -noreset
# the server resets when its last client leaves, and a program starting meanwhile cannot connect.
start_xvfb() {
  exec 3> >(cat >"$work/display")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
  display=":$(tr -d '\n' <"$work/display")"
}

# The program folder: a copy of the build's data, which the caller may add to.
make_home() {
  mkdir -m 700 "$work/runtime"
  cp -r "$build/data" "$work/home"
}

# The environment the bare Qt window runs in, into the array `bare_env`: the display and a
# runtime folder.
bare_environment() {
  bare_env=(DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb)
}

# The environment korvane runs in, into the array `environment`: that and its folders and
# clock. Its registry is work/registry.reg, its clock offset work/clock-offset.
korvane_environment() {
  bare_environment
  environment=("${bare_env[@]}" XDG_CONFIG_HOME="$work/config"
    KORVANE_CLOCK_FILE="$work/clock-offset" KORVANE_REGISTRY="$work/registry.reg"
    KORVANE_HOME="$work/home")
}

# Starts korvane in the background with [NAME=value...] [ARGUMENTS...]; sets korvane_pid.
start_korvane() {
  local settings=()
  while [[ $# -gt 0 && $1 == *=* ]]; do settings+=("$1") && shift; done
  korvane_environment
  env "${environment[@]}" "${settings[@]}" "$binary" "$@" &
  korvane_pid=$!
}

# CPU clock ticks korvane has used, user and system.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$korvane_pid/stat"; }
# Its resident memory in kB.
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$korvane_pid/status"; }

# Voluntary context switches of every thread of a process: how often it slept and woke.
wakeups() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^voluntary_ctxt_switches:/ {n += $2} END {print n + 0}'
}
# Each thread of a process as "tid nanoseconds-run": the scheduler's own count, finer than the
# clock ticks of /proc/PID/stat.
thread_run_ns() {
  local f
  for f in /proc/"$1"/task/*/schedstat; do
    [[ -r $f ]] && echo "$(basename "$(dirname "$f")") $(cut -d' ' -f1 "$f")"
  done
}
# Nanoseconds a process ran since a snapshot FILE of thread_run_ns (a thread that ended
# meanwhile is left out; one started meanwhile counts whole).
run_ns_since() {
  thread_run_ns "$1" | awk 'NR == FNR {was[$1] = $2; next} {n += $2 - was[$1]} END {print n + 0}' "$2" -
}
# The resident kB of any process.
rss_kb_of() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
