#!/usr/bin/env bash
# Puts the licence's SPDX line first in every C++ source and header that lacks it. Running it
# again changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
line='// SPDX-License-Identifier: GPL-3.0-or-later'
changed=0
while IFS= read -r -d '' file; do
  [ "$(head -n 1 "$file")" = "$line" ] && continue
  tmp=$(mktemp "$file.XXXXXX")
  { printf '%s\n' "$line"; cat "$file"; } >"$tmp"
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
  changed=$((changed + 1))
done < <(find src tests bench fuzz tools -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
echo "add-spdx: $changed files given the licence line"
