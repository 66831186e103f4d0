#!/usr/bin/env bash
# The packages scripts/run.sh installs: what building and running need, and none of the test
# servers and tools (a time daemon among them would replace the system's own).
set -euo pipefail
root=$1
set_name=$(sed -n 's|^scripts/install-deps.sh \([a-z]*\)$|\1|p' "$root/scripts/run.sh")
[ -n "$set_name" ] || { echo "run.sh does not name a package set"; exit 1; }
run_list=$("$root/scripts/install-deps.sh" --list "$set_name")
test_list=$("$root/scripts/install-deps.sh" --list test)
status=0
for p in chrony ntp ntpsec openntpd systemd-timesyncd xinetd openbsd-inetd sntp rdate busybox \
  lintian clang libgtest-dev googletest libbenchmark-dev xvfb xdotool trayer hyperfine; do
  if grep -qx "$p" <<<"$run_list"; then
    echo "run.sh installs the test package $p"
    status=1
  fi
done
for p in cmake qt6-base-dev fonts-liberation; do
  grep -qx "$p" <<<"$run_list" || { echo "run.sh does not install $p"; status=1; }
done
# The test set is a superset: the tests build the same programs.
while read -r p; do
  grep -qx "$p" <<<"$test_list" || { echo "the test set lacks $p"; status=1; }
done <<<"$run_list"
exit $status
