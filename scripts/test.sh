#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd "${KORVANE_BUILD_DIR:-build}"
ctest --output-on-failure --timeout 600 -j2
