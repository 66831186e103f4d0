// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/krv_dconfig.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "common/lenient_number.h"
#include "common/rounding.h"
#include "display/floating_look.h"
#include "display/skin_name.h"
#include "platform/files.h"

namespace korvane::display {

namespace {

constexpr const char* kCautionTitle = "CAUTION!";
constexpr const char* kAlmostInvisible =
    "CAUTION: This setting will make yout form almost invisible!";
constexpr const char* kCompletelyInvisible =
    "CAUTION: This setting will make KRV Float completely invisible!\r\n"
    "Resetting to a safe value (125)!";

}  // namespace

KRV_DConfig::KRV_DConfig(DisplayServices services, DialogTitle title)
    : ui::Form(std::string(program::window::kFloatingSettings)),
      buttonDesign(services.windows.twipsPerPixelX()),
      fntAdjust("fntAdjust", buttonDesign.services(services.buttons)),
      fntBKG("fntBKG", buttonDesign.services(services.buttons)),
      DTApply("DTApply", buttonDesign.services(services.buttons)),
      DTCancel("DTCancel", buttonDesign.services(services.buttons)),
      services_(services),
      title_(std::move(title)) {
  layout();
  wireEvents();
}

void KRV_DConfig::wireEvents() {
  Load.connect([this] { Form_Load(); });
  EnterPressed.connect([this] { Form_EnterPressed(); });
  for (int i = 0; i < 3; ++i)
    DShowChk[static_cast<size_t>(i)].Click.connect([this, i] { DShowChk_Click(i); });
  for (ui::OptionButton& option : KRV_Dopt) option.Click.connect([this] { KRV_Dopt_Click(); });
  for (ui::CheckBox& box : Detach_Chk) box.Click.connect([this] { Detach_Chk_Click(); });
  KRV_DSkin.Click.connect([this] { KRV_DSkin_Click(); });
  fntAdjust.Click.connect([this] { fntAdjust_Click(); });
  fntBKG.Click.connect([this] { fntBKG_Click(); });
  sldTransparent.Change.connect([this] { sldTransparent_Change(); });
  txtTransparent.Change.connect([this] { txtTransparent_Change(); });
  txtTransparent.KeyPress.connect([this](int& key) { txtTransparent_KeyPress(key); });
  txtTransparent.LostFocus.connect([this] { txtTransparent_LostFocus(); });
  DTApply.Click.connect([this] { DTApply_Click(); });
  DTCancel.Click.connect([this] { DTCancel_Click(); });
}

void KRV_DConfig::Form_Load() {
  const program::Settings& s = services_.state.settings;
  loading_ = true;
  setCaption(title_.caption);
  setIconFiles(title_.iconFiles);
  KRVDLbl.setCaption(title_.productVersion + " Floating Clock Settings");
  customColours_ = {};

  DShowChk[0].setValue(s.clockAmPm ? 1 : 0);
  DShowChk[1].setValue(s.clockSeconds ? 1 : 0);
  DShowChk[2].setValue(s.clock24Hour ? 1 : 0);
  fillSkins();
  KRV_DSkin.setText(s.floatingSkin);
  showFontSettings();
  KRV_Dopt[s.floatingStyle == "KRV" ? 0 : 1].setValue(true);
  txtTransparent.setText(std::to_string(s.opacity));
  sldTransparent.setValue(s.opacity);
  checkedOpacity_ = s.opacity;
  Detach_Chk[0].setValue(s.floatingLaunch ? 1 : 0);
  Detach_Chk[1].setValue(s.floatingOnTop ? 1 : 0);
  DTApply.setEnabled(false);  // the handlers run above enabled it
  loading_ = false;
}

void KRV_DConfig::fillSkins() {
  KRV_DSkin.clear();
  for (const std::string& name : ListSkinEntries(services_.files, false)) KRV_DSkin.addItem(name);
}

void KRV_DConfig::showFontSettings() {
  const program::Settings& s = services_.state.settings;
  KRV_Dfnt.setText(s.fontName);
  const FloatingLook look = FloatingLookOf(s);
  fntTest.setFont(look.font);
  fntTest.setBackColor(look.back);
  fntTest.setForeColor(look.text);
}

void KRV_DConfig::DShowChk_Click(int index) {
  // Boxes ticked by the load are not the user's choice: a flag changed meanwhile in the
  // options dialog must survive this dialog's Apply.
  if (!loading_) clockFlagClicked_[static_cast<size_t>(index)] = true;
  DTApply.setEnabled(true);
}

void KRV_DConfig::KRV_DSkin_Click() {
  if (KRV_DSkin.text() != services_.state.settings.floatingSkin) DTApply.setEnabled(true);
}

void KRV_DConfig::fntBKG_Click() {
  const int64_t colour = PickColor();
  if (colour < 0) return;
  DTApply.setEnabled(true);
  fntTest.setBackColor(static_cast<Colour>(colour));
}

void KRV_DConfig::sldTransparent_Change() {
  if (typing_) return;  // the text box moved it: the typed text stays as it is
  const int value = sldTransparent.value();
  txtTransparent.setText(std::to_string(value));
  if (!warnLowOpacity(value)) return;
  DTApply.setEnabled(true);
}

bool KRV_DConfig::warnLowOpacity(int value) {
  checkedOpacity_ = value;
  if (value < 0 || value > 9) return true;
  warned_ = true;
  services_.boxes.show(value == 0 ? kCompletelyInvisible : kAlmostInvisible, kCautionTitle,
                       platform::MsgButtons::OK, platform::MsgIcon::Critical);
  if (!loaded()) return false;
  if (value == 0) {
    txtTransparent.setText(std::to_string(kSafeOpacity));
    sldTransparent.setValue(kSafeOpacity);
    checkedOpacity_ = kSafeOpacity;
  }
  return true;
}

void KRV_DConfig::txtTransparent_Change() {
  const std::string& text = txtTransparent.text();
  if (text.empty() || !isNumeric(text)) return;
  // A value the slider cannot show leaves it where it is; Apply still saves the text.
  if (const auto whole = toInt32HalfEven(leadingNumber(text));
      whole && *whole >= sldTransparent.min() && *whole <= sldTransparent.max()) {
    typing_ = true;
    sldTransparent.setValue(*whole);
    typing_ = false;
  }
  DTApply.setEnabled(true);
}

void KRV_DConfig::txtTransparent_KeyPress(int& keyAscii) {
  if (keyAscii != '\r') return;
  warned_ = false;
  commitTypedOpacity();
  // An Enter that raised a warning does nothing more; otherwise it goes on to press Apply.
  if (warned_) keyAscii = 0;
}

void KRV_DConfig::Form_EnterPressed() {
  if (DTApply.enabled() && DTApply.visible()) DTApply.click();
}

bool KRV_DConfig::commitTypedOpacity() {
  const std::string& text = txtTransparent.text();
  if (text.empty() || !isNumeric(text)) return true;
  const auto whole = toInt32HalfEven(leadingNumber(text));
  if (!whole || *whole == checkedOpacity_) return true;
  return warnLowOpacity(*whole);
}

void KRV_DConfig::DTApply_Click() {
  if (!commitTypedOpacity()) return;
  SaveApplyDT();
  if (loaded()) unload(ui::kCloseFromCode);
}

std::string KRV_DConfig::PickFont() {
  const platform::Pickers::FontChoice initial{fntTest.font(), fntTest.foreColor()};
  const auto chosen = services_.pickers.pickFont(this, initial, kMinFontPoints, kMaxFontPoints);
  if (!chosen || !loaded()) return {};
  ui::Font font = chosen->font;
  font.name = font.name.substr(0, font.name.find('\0'));
  DTApply.setEnabled(true);
  KRV_Dfnt.setText(font.name);
  fntTest.setFont(font);
  fntTest.setForeColor(chosen->colour);
  return font.name;
}

int64_t KRV_DConfig::PickColor() {
  // The chooser's custom colours are kept only when the user confirms.
  platform::CustomColours custom = customColours_;
  const auto chosen = services_.pickers.pickColour(this, 0, custom);
  if (!chosen || !loaded()) return -1;
  customColours_ = custom;
  return static_cast<int64_t>(*chosen);
}

void KRV_DConfig::SaveApplyDT() {
  // Its unload saves a changed position, which the mode written below carries.
  services_.program.unloadWindow(program::window::kFloatingClock);
  if (!loaded()) return;
  storeFloatingSettings();
  services_.state.saveFloating();
  program::Settings& s = services_.state.settings;
  // Saved as typed; the window works with what a start-up would read from it.
  s.opacity = program::workingOpacity(s.opacity);

  const platform::MsgResult answer = services_.boxes.show(
      "Load the KRV Floating clock with the new settings?", "Load KRV Floating Clock Now?",
      platform::MsgButtons::YesNo, platform::MsgIcon::Information);
  if (answer == platform::MsgResult::Yes && loaded())
    services_.program.loadWindow(program::window::kFloatingClock);
}

void KRV_DConfig::storeFloatingSettings() {
  program::Settings& s = services_.state.settings;
  StoreFloatingLook({fntTest.font(), fntTest.foreColor(), fntTest.backColor()}, s);
  if (clockFlagChosen(0)) s.clockAmPm = DShowChk[0].ticked();
  if (clockFlagChosen(1)) s.clockSeconds = DShowChk[1].ticked();
  if (clockFlagChosen(2)) s.clock24Hour = DShowChk[2].ticked();
  s.floatingSkin = KRV_DSkin.text();
  s.opacity = TypedOpacity(txtTransparent.text());
  s.floatingStyle = KRV_Dopt[0].value() ? "KRV" : "FNT";
  s.floatingLaunch = Detach_Chk[0].ticked();
  s.floatingOnTop = Detach_Chk[1].ticked();
}

int32_t TypedOpacity(const std::string& text) {
  const double value = leadingNumber(text);
  if (std::isnan(value)) return 0;
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return toInt32HalfEven(std::clamp(value, lo, hi)).value_or(0);
}

}  // namespace korvane::display
