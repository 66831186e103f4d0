// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/krv_config.h"

#include "common/text.h"
#include "platform/system_colours.h"
#include "program/vocabulary.h"

namespace korvane::options {

namespace {
constexpr int kButtonFace = 15;  // system colour index
// The preview's colour until a Winamp preview takes its skin's: the desktop's button face.
Colour previewDesignBack(const platform::SystemColours* colours) {
  if (colours) return colours->colour(kButtonFace);
  return platform::ClassicSystemColours().colour(kButtonFace);
}
}  // namespace

KRV_Config::KRV_Config(OptionsServices services)
    : ui::Form(std::string(program::window::kOptions)),
      buttonDesign(services.display.windows.twipsPerPixelX()),
      SelTimeZone("SelTimeZone", buttonDesign.services(services.display.buttons)),
      CheckUpdate("CheckUpdate", buttonDesign.services(services.display.buttons)),
      Ap_CL("Ap_CL", buttonDesign.services(services.display.buttons)),
      KRV_DSettings("KRV_DSettings", buttonDesign.services(services.display.buttons)),
      ShowKRVFloat("ShowKRVFloat", buttonDesign.services(services.display.buttons)),
      ChangeSkin("ChangeSkin", buttonDesign.services(services.display.buttons)),
      PClockSkin("PClockSkin", buttonDesign.services(services.display.buttons)),
      services_(std::move(services)),
      d_(services_.display),
      settings_(d_.state.settings),
      previewBack_(previewDesignBack(d_.buttons.colours)) {
  layout();
  wireEvents();
}

void KRV_Config::wireEvents() {
  Load.connect([this] { Form_Load(); });
  EnterPressed.connect([this] { Form_EnterPressed(); });
  Unload.connect([this](int& cancel) { Form_Unload(cancel); });
  OpenMin.Click.connect([this] { OpenMin_Click(); });
  RunKRV.Click.connect([this] { RunKRV_Click(); });
  eWCS.Click.connect([this] { eWCS_Click(); });
  eSSecs.Click.connect([this] { eSSecs_Click(); });
  eSM24.Click.connect([this] { eSM24_Click(); });
  eSAMPM.Click.connect([this] { eSAMPM_Click(); });
  Protos.Click.connect([this] { Protos_Click(); });
  Regions.Click.connect([this] { Regions_Click(); });
  SelTimeZone.Click.connect([this] { SelTimeZone_Click(); });
  CheckUpdate.Click.connect([this] { CheckUpdate_Click(); });
  KRV_DSettings.Click.connect([this] { KRV_DSettings_Click(); });
  ShowKRVFloat.Click.connect([this] { ShowKRVFloat_Click(); });
  Ap_CL.Click.connect([this] { Ap_CL_Click(); });
  SkinCmb.Click.connect([this] { SkinCmb_Click(); });
  PClockSkin.Click.connect([this] { PClockSkin_Click(); });
  ChangeSkin.Click.connect([this] { ChangeSkin_Click(); });
}

void KRV_Config::Form_Load() {
  if (ui::Form* main = d_.program.loadedWindow(program::window::kMain)) {
    setIconFiles(main->iconFiles());
    setCaption(main->caption());
    setOwner(main);
  }
  // Before any message box: an unload while one is open detaches the button again.
  d_.state.updates.CheckUpdateButton(&CheckUpdate);
  changed = false;
  for (std::string_view entry : program::kRegionEntries) Regions.addItem(std::string(entry));
  Protos.setText(settings_.protocol);
  selectRegion(settings_.regionCode);
  // Ticking a box runs its click handling, as the user's tick would.
  if (settings_.runAtStartup) RunKRV.setValue(1);
  if (settings_.openMinimised) OpenMin.setValue(1);
  if (settings_.clockOverlay) eWCS.setValue(1);
  if (settings_.clockSeconds) eSSecs.setValue(1);
  if (settings_.clock24Hour) eSM24.setValue(1);
  if (settings_.clockAmPm) eSAMPM.setValue(1);
  if (!loaded()) return;  // closed while the overlay's load asked something
  const int tpp = d_.windows.twipsPerPixelX();
  PreViewSkin.setTwipsPerPixel(tpp);
  PreViewPic.setTwipsPerPixel(tpp);
  clearPreview();
  PreViewPic.refresh();
  LoadKRVSkins();
  changed = false;  // the ticks above are no change
}

void KRV_Config::selectRegion(const std::string& code) {
  for (std::string_view entry : program::kRegionEntries)
    if (entry.substr(0, 2) == code) Regions.setText(std::string(entry));
}

void KRV_Config::Form_Unload(int& /*cancel*/) {
  d_.state.updates.CheckUpdateButton(nullptr);
  if (!changed) return;
  // Only an entry of the list becomes the skin: a typed name may name no skin at all.
  if (const auto skin = listedSkin()) settings_.overlaySkin = *skin;
  d_.state.saveOptions(services_.runCommand);
}

void KRV_Config::OpenMin_Click() {
  settings_.openMinimised = OpenMin.ticked();
  changed = true;
}

void KRV_Config::RunKRV_Click() {
  settings_.runAtStartup = RunKRV.ticked();
  changed = true;
}

void KRV_Config::eSSecs_Click() {
  settings_.clockSeconds = eSSecs.ticked();
  changed = true;
}

void KRV_Config::eSM24_Click() {
  settings_.clock24Hour = eSM24.ticked();
  changed = true;
}

void KRV_Config::eSAMPM_Click() {
  settings_.clockAmPm = eSAMPM.ticked();
  changed = true;
}

void KRV_Config::Protos_Click() {
  settings_.protocol = Protos.text();
  d_.program.useServerChoice();
  changed = true;
}

void KRV_Config::Regions_Click() {
  settings_.regionCode = text::left(Regions.text(), 2);
  d_.program.useServerChoice();
  changed = true;
}

void KRV_Config::SelTimeZone_Click() {
  d_.shell.openDateTimeSettings();  // a desktop without them: nothing to say
}

void KRV_Config::CheckUpdate_Click() {
  d_.state.updates.CheckForUpdates();
}

void KRV_Config::KRV_DSettings_Click() {
  // Made before it shows, so that it shows above this dialog and centred on it.
  if (ui::Form* settings = d_.program.loadWindow(program::window::kFloatingSettings))
    settings->setOwner(this);
  d_.program.showWindow(program::window::kFloatingSettings);
}

void KRV_Config::ShowKRVFloat_Click() {
  d_.program.loadWindow(program::window::kFloatingClock);
}

void KRV_Config::Ap_CL_Click() {
  unload(ui::kCloseFromCode);
}

void KRV_Config::Form_EnterPressed() {
  if (Ap_CL.enabled() && Ap_CL.visible()) Ap_CL.click();
}

}  // namespace korvane::options
