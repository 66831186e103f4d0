#!/usr/bin/env bash
# Installs what building and running Korvane need (no test tools, no time daemon), builds the
# two programs and starts korvane.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORVANE_BUILD_DIR:-build}
scripts/install-deps.sh run
# A new build folder leaves the tests and benchmarks out; an existing one keeps its choice.
options=()
[ -f "$build_dir/CMakeCache.txt" ] || options=(-DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build_dir" -G Ninja "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$build_dir" --target korvane korvane-query korvane_data
exec "$build_dir/src/app/korvane" "$@"
