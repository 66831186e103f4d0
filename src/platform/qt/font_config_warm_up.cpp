// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/font_config_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace korvane::platform {

FontConfigWarmUp::FontConfigWarmUp() : reader_([] { FcInit(); }) {}

void FontConfigWarmUp::finish() {
  if (reader_.joinable()) reader_.join();
}

}  // namespace korvane::platform
