// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clock windows on fakes: a 1024 x 768 screen, a skins folder the test fills, a program that
// records what the windows ask of it, and the settings of a first run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display_fakes.h"
#include "platform/fake/fake_scheduler.h"
#include "recording_program.h"

namespace korvane::display::testing {

class DisplayFixture : public ::testing::Test, protected DisplayFakes<> {
 protected:
  DisplayFixture() : DisplayFakes(1796634358000LL) {  // 2026-12-07 09:05:58 UTC
    state.settings.floatingStyle = "KRV";
  }

  // A strip skin of 15 cells of cell x height pixels, cell k filled with cellColour(k), and
  // the pixel the overlay takes its background from in kSkinBackground.
  static platform::Raster strip(int cell, int height) {
    platform::Raster skin(15 * cell, height);
    for (int k = 0; k < 15; ++k) skin.fill({k * cell, 0, (k + 1) * cell, height}, cellColour(k));
    skin.setPixel(15 * cell - 1, 1, kSkinBackground);
    return skin;
  }
  static Colour cellColour(int k) { return makeColour(20 + 10 * k, 100, 200); }
  static constexpr Colour kSkinBackground = makeColour(1, 2, 3);

  void addSkin(const std::string& name, platform::Raster image) {
    images.add("/opt/korvane/Skins/" + name, std::move(image));
  }
  std::string stored(const char* name) const {
    return registry.value(platform::HKEY_LOCAL_MACHINE, program::kSettingsKey, name)
        .value_or("<none>");
  }

  platform::FakeScheduler scheduler{clock};
  RecordingProgram program;
  DisplayServices services = servicesFor(program);
};

}  // namespace korvane::display::testing
