#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (with the repo's .clang-format)
# makes of it, or does not start with the licence's SPDX line; the differences are printed. Fix
# with: clang-format -i FILE... and scripts/add-spdx.sh
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
line='// SPDX-License-Identifier: GPL-3.0-or-later'
missing=0
while IFS= read -r -d '' file; do
  if [ "$(head -n 1 "$file")" != "$line" ]; then
    echo "$file: no licence line first (scripts/add-spdx.sh adds it)"
    missing=1
  fi
done < <(git ls-files -z '*.cpp' '*.h')
exit "$missing"
