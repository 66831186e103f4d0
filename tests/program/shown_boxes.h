// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's boxes as a settings load leaves them, for the settings tests.
#include <functional>
#include <utility>

#include "program/settings.h"

namespace korvane::program::testing {

struct ShownBoxes {
  MainWindowBoxes shown{false, "59", "Minute/s"};
  // Hooks that fill shown as the main window fills its boxes.
  SettingsHooks hooks(std::function<void()> minimise = {}) {
    return {std::move(minimise), [this](const MainWindowBoxes& b) {
              shown.random = b.random;
              if (b.count) shown.count = b.count;
              shown.unit = b.unit;
            }};
  }
};

}  // namespace korvane::program::testing
