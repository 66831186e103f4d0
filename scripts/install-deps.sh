#!/usr/bin/env bash
# Installs the Debian 12 packages Korvane needs to build, run and test.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-gtk-platformtheme fonts-liberation
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  xvfb xauth xdotool x11-utils x11-xserver-utils libx11-dev imagemagick trayer openbox xcompmgr
  chrony xinetd sntp rdate hyperfine procps
  dbus lintian appstream desktop-file-utils dpkg-dev file
  busybox
)

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
