// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog on fakes: the settings of an earlier run in memory, a skins folder, and a
// log of the registry writes and of what the dialog asks of the other windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/display_fakes.h"
#include "options/krv_config.h"
#include "platform/fake/fake_registry.h"

namespace korvane::options::testing {

// The other windows: the taskbar clock is a plain form that is shown and unloaded; every
// request is logged.
class WindowsProgram : public program::Program {
 public:
  void synchronise() override { log.push_back("synchronise"); }
  bool hasWindow(std::string_view) const override { return true; }
  ui::Form* loadWindow(std::string_view name) override { return request("load", name); }
  ui::Form* showWindow(std::string_view name) override {
    ui::Form* form = request("show", name);
    if (form) form->show();
    return form;
  }
  ui::Form* loadedWindow(std::string_view name) const override {
    if (name == program::window::kMain) return &main;
    return name == program::window::kTaskbarClock && clock.loaded() ? &clock : nullptr;
  }
  void unloadWindow(std::string_view name) override {
    log.push_back("unload " + std::string(name));
    if (name == program::window::kTaskbarClock) clock.unload(ui::kCloseFromCode);
  }
  void unloadOtherWindows() override {}
  void rereadServerList() override {}
  void useServerChoice() override { log.push_back("use server choice"); }

  std::vector<std::string> log;
  mutable ui::Form main{"NXO_KRV"};
  mutable ui::Form clock{"KRV_Clock"};

 private:
  ui::Form* request(const char* verb, std::string_view name) {
    log.push_back(std::string(verb) + " " + std::string(name));
    if (name != program::window::kTaskbarClock) return nullptr;
    clock.load();
    return &clock;
  }
};

class OptionsFixture : public ::testing::Test,
                       protected display::testing::DisplayFakes<platform::LoggingRegistry> {
 protected:
  static constexpr const char* kSkins = "/opt/korvane/Skins/";

  // 2025-12-07 09:05:30 UTC, the zone UTC.
  OptionsFixture() : DisplayFakes(1765098330000LL) {
    settings().protocol = "Default Time Protocol";
    settings().overlaySkin = "KRV_Default Skin.gif";
    skin("KRV_Default Skin.gif", platform::Raster(150, 18));
  }
  program::Settings& settings() { return state.settings; }
  // A skin file that loads as image.
  void skin(const std::string& name, platform::Raster image) {
    files.files[kSkins + name] = "";
    images.add(kSkins + name, std::move(image));
  }
  KRV_Config& open() {
    dialog =
        std::make_unique<KRV_Config>(OptionsServices{servicesFor(program), "/usr/bin/korvane"});
    dialog->load();
    return *dialog;
  }
  void close() { dialog->Ap_CL.click(); }
  // Chooses the list entry with this text.
  void choose(const std::string& entry) {
    const auto& items = dialog->SkinCmb.items();
    const auto it = std::find(items.begin(), items.end(), entry);
    ASSERT_NE(it, items.end()) << entry;
    dialog->SkinCmb.choose(static_cast<int>(it - items.begin()));
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& b : boxes.shown) texts.push_back(b.text);
    return texts;
  }

  WindowsProgram program;
  std::unique_ptr<KRV_Config> dialog;
};

}  // namespace korvane::options::testing
