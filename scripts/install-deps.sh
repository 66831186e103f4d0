#!/usr/bin/env bash
# Installs the Debian 12 packages Korvane needs.
#   install-deps.sh run         what building and running the two programs need
#   install-deps.sh test        that and the test servers and tools (scripts/test.sh)
#   install-deps.sh --list SET  prints the packages of SET, one a line, and installs nothing
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libfontconfig-dev qt6-gtk-platformtheme
  libgnutls28-dev nettle-dev ca-certificates
  fonts-liberation xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick trayer openbox xcompmgr
  chrony xinetd sntp rdate hyperfine procps openssl
  dbus lintian appstream desktop-file-utils dpkg-dev file
  busybox
)
# Time daemons a test package may bring: only the tests start them, on loopback.
time_daemons=(chrony ntp ntpsec openntpd)

usage() {
  echo "usage: $0 run|test | --list run|test" >&2
  exit 2
}

list=0
if [ "${1:-}" = --list ]; then
  list=1
  shift
fi
case "${1:-}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) usage ;;
esac
if [ "$list" = 1 ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

# Installing the time servers must not start them as system services: only the tests start them,
# on loopback, and never with the right to set the machine's clock.
policy=/usr/sbin/policy-rc.d
made_policy=0
if [ ! -e "$policy" ]; then
  printf '#!/bin/sh\nexit 101\n' | "${sudo_cmd[@]}" tee "$policy" >/dev/null
  "${sudo_cmd[@]}" chmod +x "$policy"
  made_policy=1
fi
trap '[ "$made_policy" = 1 ] && "${sudo_cmd[@]}" rm -f "$policy"' EXIT

"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

# A daemon installed here would otherwise start at the next boot and take the clock over (chrony
# also replaces systemd-timesyncd), so its service is turned off at once.
for daemon in "${time_daemons[@]}"; do
  printf '%s\n' "${missing[@]}" | grep -qx "$daemon" || continue
  echo "install-deps: $daemon was installed for the tests; its system service is disabled."
  echo "install-deps: no time daemon keeps this machine's clock now; to go back:" \
    "apt-get purge $daemon && apt-get install systemd-timesyncd"
  "${sudo_cmd[@]}" deb-systemd-helper disable "$daemon.service" >/dev/null 2>&1 || true
  "${sudo_cmd[@]}" update-rc.d "$daemon" disable >/dev/null 2>&1 || true
  "${sudo_cmd[@]}" systemctl disable --now "$daemon.service" >/dev/null 2>&1 || true
done
