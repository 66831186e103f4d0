// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A property a fuzz target checks beyond "no crash": a broken one stops the run as a finding.
#include <cstdio>
#include <cstdlib>

namespace korvane::fuzzing {

inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

}  // namespace korvane::fuzzing
