// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog: region, protocol, start-up options, the taskbar clock's skin and its
// text flags. Choices take effect in memory at once; the registry is written on close, and
// only when something changed.
#include <optional>
#include <string>

#include "common/colour.h"
#include "common/ole_date.h"
#include "controls/form_buttons.h"
#include "controls/nxo_buttons.h"
#include "display/clock_text.h"
#include "display/display_services.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"
#include "platform/ui/picture_box.h"

namespace korvane::options {

// PreViewSkin as designed: a Winamp font keeps this place, a strip sizes the box to itself.
inline constexpr ui::TwipsRect kPreViewSkinDesign{2490, 660, 3285, 495};
// What a Winamp entry of the skin list carries after its name.
inline constexpr std::string_view kWinampSuffix = " [WINAMP/SMALL] ";

struct OptionsServices {
  display::DisplayServices display;
  // What the Run value starts: the program's own file.
  std::string runCommand;
};

class KRV_Config : public ui::Form {
 public:
  explicit KRV_Config(OptionsServices services);

  // Declared before the buttons: they are built with it.
  controls::FormButtons buttonDesign;

  // Controls.
  ui::Frame Frame1{"Frame1"};
  ui::ImageBox Image1{"Image1"};
  ui::Label NOLLabel{"NOLLabel"};
  ui::Label ROT{"ROT"};
  ui::Frame Frame2{"Frame2"};
  ui::Label RegionLbl{"RegionLbl"};
  ui::ComboBox Regions{"Regions"};
  ui::Label closelbl{"closelbl"};
  ui::Label Label1{"Label1"};
  ui::ComboBox Protos{"Protos"};
  ui::CheckBox OpenMin{"OpenMin"};
  ui::CheckBox RunKRV{"RunKRV"};
  controls::NXOButtons SelTimeZone, CheckUpdate, Ap_CL;
  ui::Frame WCSkinFrame{"WCSkinFrame"};
  controls::NXOButtons KRV_DSettings, ShowKRVFloat;
  ui::CheckBox eWCS{"eWCS"};
  ui::Label Label3{"Label3"};
  ui::CheckBox eSSecs{"eSSecs"};
  ui::CheckBox eSM24{"eSM24"};
  ui::CheckBox eSAMPM{"eSAMPM"};
  ui::Label Label2{"Label2"};
  ui::ComboBox SkinCmb{"SkinCmb"};
  controls::NXOButtons ChangeSkin;
  ui::PictureBox PreViewSkin{"PreViewSkin"};
  controls::NXOButtons PClockSkin;
  ui::PictureBox PreViewPic{"PreViewPic"};

  // Dialog state: something was changed since opening.
  bool changed = false;

  // Handlers.
  void Form_Load();
  void Form_Unload(int& cancel);
  void OpenMin_Click();
  void RunKRV_Click();
  void eSSecs_Click();
  void eSM24_Click();
  void eSAMPM_Click();
  void Protos_Click();
  void Regions_Click();
  void SelTimeZone_Click();
  void CheckUpdate_Click();
  void KRV_DSettings_Click();
  void ShowKRVFloat_Click();
  void Ap_CL_Click();
  void Form_EnterPressed();

  // The skin browser.
  void LoadKRVSkins();
  void SkinCmb_Click();
  void PClockSkin_Click();
  void ChangeSkin_Click();
  void eWCS_Click();
  void RenderKRVPV(const CivilDateTime& now, const display::ClockTextFlags& flags);
  void RenderAMPPV(const CivilDateTime& now, const display::ClockTextFlags& flags);

  // The entry whose image PreViewSkin holds (the preview draws it in its kind's way).
  const std::string& previewedEntry() const { return previewedEntry_; }
  // The colour the preview is cleared to.
  Colour previewBackground() const { return previewBack_; }

 private:
  void layout();
  void layoutSkinFrame();
  void wireEvents();
  void selectRegion(const std::string& code);
  // Loads an entry's image into PreViewSkin, sized for its kind; the load's error number
  // (0 when loaded). A failed load leaves the picture as it was.
  int showSkinImage(const std::string& entry);
  // The text of SkinCmb when it is an entry of the list.
  std::optional<std::string> listedSkin() const;
  bool taskbarClockVisible() const;
  void clearPreview();

  OptionsServices services_;
  display::DisplayServices& d_;
  program::Settings& settings_;
  std::string previewedEntry_;
  Colour previewBack_ = 0;
};

}  // namespace korvane::options
