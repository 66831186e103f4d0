// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/picture.h"

namespace korvane::controls {

// The name the hand pointer image carries, so hosts can show their own hand instead.
inline constexpr const char* kHandCursorName = "imgHAND";

// A 32 x 32 hand-shaped pointer, pointing with its index finger at the hot spot.
platform::PicturePtr makeHandCursor();

}  // namespace korvane::controls
