#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: the fuzz targets for their
# minute each, then the whole CTest suite (unit, form, backend, end-to-end and GUI tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/fuzz.sh
cd "${KORVANE_BUILD_DIR:-build}"
ctest --output-on-failure --timeout 600 -j2
