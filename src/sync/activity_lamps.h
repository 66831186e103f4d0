#pragma once
// The three lamps SRC, RX and TX under "SRC  RX  TX".
#include <array>

#include "platform/ui/image_box.h"
#include "sync/sync_shell.h"

namespace korvane::sync {

constexpr int kLampDark = 33;  // image list picture of a dark lamp
constexpr int kLampLit = 34;   // image list picture of a green lamp

class ActivityLamps {
 public:
  ActivityLamps(std::array<ui::ImageBox*, 3> led, SyncShell& shell) : led_(led), shell_(shell) {}

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
  SyncShell& shell_;
  bool SrcLedLit = false;
};

}  // namespace korvane::sync
