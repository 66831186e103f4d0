#pragma once
// What the synchronisation needs from the window that holds it.
#include <string_view>

namespace korvane::sync {

class SyncShell {
 public:
  virtual ~SyncShell() = default;
  // Writes the tray tip field (cut or padded to 64 characters).
  virtual void setTip(std::string_view text) = 0;
  // Passes a changed tip and its picture to the tray.
  virtual void UpdateSZTIP() = 0;
  virtual bool runOnceMode() const = 0;
  // Lamp pictures change only while the window is in its normal state.
  virtual bool windowNormal() const = 0;
  // Data arrived from a time server: the update service's version check may start.
  virtual void timeDataArrived() = 0;
  // False once the window has unloaded (a shut-down can run while a handler lets events run).
  virtual bool windowLoaded() const { return true; }
};

}  // namespace korvane::sync
