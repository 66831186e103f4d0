// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating clock's settings dialog: style, skin, font and colours, opacity, start-up and
// on-top flags, and the clock-text flags every clock shares. Nothing changes until Apply.
#include <array>
#include <string>
#include <vector>

#include "controls/form_buttons.h"
#include "controls/nxo_buttons.h"
#include "display/display_services.h"
#include "platform/pickers.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_box.h"

namespace korvane::display {

// How the program names itself in the dialog's caption, title line and icon.
struct DialogTitle {
  std::string caption;                 // the product title
  std::string productVersion;          // the product name and version
  std::vector<std::string> iconFiles;  // the main window's icon
};

// The opacity that asks for no warning and the one a fully invisible choice is reset to.
constexpr int kSafeOpacity = 125;
// The sample the font box shows.
constexpr const char* kFontSample = " Example 12:12:12 AM ";
// Point sizes the font chooser offers.
constexpr int kMinFontPoints = 8;
constexpr int kMaxFontPoints = 72;

class KRV_DConfig : public ui::Form {
 public:
  KRV_DConfig(DisplayServices services, DialogTitle title);

  // Declared before the buttons: they are built with it.
  controls::FormButtons buttonDesign;

  // Controls.
  ui::Label KRVDLbl{"KRVDLbl"};
  std::array<ui::CheckBox, 3> DShowChk{ui::CheckBox{"DShowChk(0)"}, ui::CheckBox{"DShowChk(1)"},
                                       ui::CheckBox{"DShowChk(2)"}};
  ui::Frame UseKRVDPic{"UseKRVDPic"};
  std::array<ui::OptionButton, 2> KRV_Dopt{ui::OptionButton{"KRV_Dopt(0)"},
                                           ui::OptionButton{"KRV_Dopt(1)"}};
  ui::ComboBox KRV_DSkin{"KRV_DSkin"};
  ui::TextBox KRV_Dfnt{"KRV_Dfnt"};
  ui::Label fntTest{"fntTest"};
  controls::NXOButtons fntAdjust, fntBKG;
  ui::Frame fraTransparent{"fraTransparent"};
  ui::TextBox txtTransparent{"txtTransparent"};
  ui::Slider sldTransparent{"sldTransparent"};
  std::array<ui::CheckBox, 2> Detach_Chk{ui::CheckBox{"Detach_Chk(0)"},
                                         ui::CheckBox{"Detach_Chk(1)"}};
  controls::NXOButtons DTApply, DTCancel;

  // Handlers.
  void Form_Load();
  void DShowChk_Click(int index);
  void KRV_Dopt_Click() { DTApply.setEnabled(true); }
  void Detach_Chk_Click() { DTApply.setEnabled(true); }
  void KRV_DSkin_Click();
  void fntAdjust_Click() { PickFont(); }
  void fntBKG_Click();
  void sldTransparent_Change();
  void txtTransparent_Change();
  void txtTransparent_KeyPress(int& keyAscii);
  void Form_EnterPressed();
  void txtTransparent_LostFocus() { commitTypedOpacity(); }
  void DTApply_Click();
  void DTCancel_Click() { unload(ui::kCloseFromCode); }

  // Stores and writes the settings, closes the floating clock and offers to open it again.
  void SaveApplyDT();
  // The face name the user chose for the sample; empty when cancelled.
  std::string PickFont();
  // The colour the user chose, or -1 when cancelled.
  int64_t PickColor();

  // The colour chooser's custom colours while the dialog is open.
  const platform::CustomColours& customColours() const { return customColours_; }

 private:
  void layout();
  void wireEvents();
  void fillSkins();
  void showFontSettings();
  // The settings the dialog owns, copied from its controls into memory.
  void storeFloatingSettings();
  // True when the box's value is to be saved (the user clicked it here).
  bool clockFlagChosen(int index) const { return clockFlagClicked_[static_cast<size_t>(index)]; }
  // Warns about an opacity below 10 and puts 0 back to the safe value; false once unloaded.
  bool warnLowOpacity(int value);
  // The typed opacity is complete (Enter, the focus leaving, Apply): warned about once.
  bool commitTypedOpacity();

  DisplayServices services_;
  DialogTitle title_;
  platform::CustomColours customColours_{};
  std::array<bool, 3> clockFlagClicked_{};
  bool loading_ = false;
  bool typing_ = false;  // the slider follows the text box: no warning mid-typing
  int checkedOpacity_ = -1;
  bool warned_ =
      false;  // a low-opacity warning was shown  // the last opacity warned about or found safe
};

// The opacity typed into the box as Apply stores it: its leading number, rounded, kept within
// the 32-bit range.
int32_t TypedOpacity(const std::string& text);

}  // namespace korvane::display
