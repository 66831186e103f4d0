// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/activity_lamps.h"

namespace korvane::shell {

namespace {
constexpr int kSrc = 0, kRx = 1, kTx = 2;
}

void ActivityLamps::show(int lamp, int picture) {
  if (windowNormal_()) led_[static_cast<size_t>(lamp)]->setPicture(picture);
}

void ActivityLamps::SRCToggle() {
  const bool wasLit = SrcLedLit;
  SrcLedLit = !wasLit;
  if (wasLit) {
    show(kSrc, kLampDark);
    DataOutC();
  } else {
    show(kSrc, kLampLit);
  }
}

void ActivityLamps::SRCInC() {
  show(kSrc, kLampDark);
}

void ActivityLamps::DataIn() {
  show(kRx, kLampLit);
}

void ActivityLamps::DataInC() {
  show(kRx, kLampDark);
}
void ActivityLamps::DataOut() {
  show(kTx, kLampLit);
}
void ActivityLamps::DataOutC() {
  show(kTx, kLampDark);
}

}  // namespace korvane::shell
