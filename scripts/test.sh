#!/usr/bin/env bash
# Installs what the tests need and runs every check, timing each step: the format check, the
# build (warnings are errors), the fuzz targets for their 20 seconds each, the whole CTest suite
# (unit, form, backend, end-to-end and GUI tests), then the same suite again built with
# AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}
run_ctest() (
  cd "${KORVANE_BUILD_DIR:-build}"
  ctest --output-on-failure --timeout 600 -j2
)

step "dependencies" scripts/install-deps.sh test
step "format check" scripts/check-format.sh
step "build" scripts/build.sh -DKORVANE_WERROR=ON -DKORVANE_TESTS=ON -DKORVANE_BENCH=ON
step "fuzz" scripts/fuzz.sh
step "tests" run_ctest
step "sanitizer build and tests" scripts/sanitize.sh
