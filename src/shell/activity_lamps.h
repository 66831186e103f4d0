// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three lamps SRC, RX and TX under "SRC  RX  TX".
#include <array>
#include <functional>

#include "platform/ui/image_box.h"

namespace korvane::shell {

constexpr int kLampDark = 33;  // image list picture of a dark lamp
constexpr int kLampLit = 34;   // image list picture of a green lamp

class ActivityLamps {
 public:
  // Pictures change only while windowNormal says the window is in its normal state.
  ActivityLamps(std::array<ui::ImageBox*, 3> led, std::function<bool()> windowNormal)
      : led_(led), windowNormal_(std::move(windowNormal)) {}

  void SRCToggle();
  void SRCInC();
  void DataIn();
  void DataInC();
  void DataOut();
  void DataOutC();
  bool srcLedLit() const { return SrcLedLit; }

 private:
  void show(int lamp, int picture);

  std::array<ui::ImageBox*, 3> led_;
  std::function<bool()> windowNormal_;
  bool SrcLedLit = false;
};

}  // namespace korvane::shell
