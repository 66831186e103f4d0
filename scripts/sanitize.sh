#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UBSan into build-asan/ (or
# $KORVANE_ASAN_BUILD_DIR) and runs the whole CTest suite on it; the first finding fails its
# test. Arguments go to ctest (e.g. -R Hive).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KORVANE_ASAN_BUILD_DIR:-build-asan}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# -O1 with line tables: the sanitizers' usual trade of build time against run time, and
# asserts stay on.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_SANITIZE=ON \
  -DKORVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" "${launcher[@]}" >/dev/null
cmake --build "$build_dir"
suppressions=$PWD/scripts/sanitizer-suppressions
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$suppressions/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$suppressions/ubsan.supp
cd "$build_dir"
ctest --output-on-failure --timeout 900 -j2 "$@"
