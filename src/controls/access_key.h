// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string_view>

namespace korvane::controls {

// The lower-case access key a caption marks with "&", or 0 when it has none ("&&" shows "&").
char accessKeyOf(std::string_view caption);

}  // namespace korvane::controls
