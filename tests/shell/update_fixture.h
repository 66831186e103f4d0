// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window stand-in for the update service: records what the service asked of it.
#include <string>

#include "shell/nxo_update.h"

namespace korvane::shell::testing {

class RecordingUpdateWindow : public UpdateWindow {
 public:
  std::string versionString() const override { return version; }
  std::string windowsCode() const override { return "02LNX"; }
  void setStatus(const std::string& text) override { status = text; }
  void setSyncEnabled(bool on) override { syncEnabled = on; }
  std::string caption() const override { return captionText; }
  void setCaption(const std::string& text) override { captionText = text; }
  void reloadServerList() override {
    ++reloads;
    if (onReload) onReload();
  }
  void synchronise() override { syncsWhileEnabled += syncEnabled ? 1 : 0; }
  void versionQueryAnswered() override { ++answered; }
  void versionQueryUnanswered() override { ++unanswered; }
  bool loaded() const override { return isLoaded; }

  std::string version = "5.1.12";
  std::string status;
  std::string captionText = "Korvane";
  bool syncEnabled = false;
  bool isLoaded = true;
  int reloads = 0;
  int syncsWhileEnabled = 0;
  int answered = 0;
  int unanswered = 0;
  std::function<void()> onReload;
};

}  // namespace korvane::shell::testing
