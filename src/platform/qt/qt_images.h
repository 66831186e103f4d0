// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/images.h"

namespace korvane::platform {

// Pictures decoded by Qt's image readers (the GIF reader is a plugin of the Qt installation).
class QtImages : public Images {
 public:
  ImageLoad load(const std::string& path) const override;
};

}  // namespace korvane::platform
