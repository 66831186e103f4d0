// SPDX-License-Identifier: GPL-3.0-or-later
// The floating clock settings dialog's design: every control with its caption, position and
// size (twips).
#include "display/krv_dconfig.h"

namespace korvane::display {

namespace {

constexpr int kMargin = 120;
constexpr int kFieldLeft = 1740;
constexpr int kFieldWidth = 3555;
constexpr int kFullWidth = kFieldLeft + kFieldWidth - kMargin;

}  // namespace

void KRV_DConfig::layout() {
  setClientSize(kFieldLeft + kFieldWidth + kMargin, 5100);
  setBorderStyle(ui::BorderStyle::FixedDialog);
  setClosesOnEscape(true);
  setMinimizeButton(false);
  setShowInTaskbar(false);

  KRVDLbl.setGeometry({kMargin, 105, kFullWidth, 255});
  KRVDLbl.setFont({"Arial", 9.75, true, false});
  add(KRVDLbl);

  const char* const flagCaptions[] = {"AM / PM", "Seconds", "24h Time"};
  for (int i = 0; i < 3; ++i) {
    ui::CheckBox& box = DShowChk[static_cast<size_t>(i)];
    box.setGeometry({kMargin + i * 1740, 480, 1620, 255});
    box.setCaption(flagCaptions[i]);
    add(box);
  }

  UseKRVDPic.setGeometry({kMargin, 900, 1560, 735});
  UseKRVDPic.setBorder(false);
  add(UseKRVDPic);
  KRV_Dopt[0].setGeometry({0, 30, 1560, 255});
  KRV_Dopt[0].setCaption("Use KRV Skin");
  add(KRV_Dopt[0], &UseKRVDPic);
  KRV_Dopt[1].setGeometry({0, 450, 1560, 255});
  KRV_Dopt[1].setCaption("Use Font");
  add(KRV_Dopt[1], &UseKRVDPic);

  KRV_DSkin.setGeometry({kFieldLeft, 885, kFieldWidth, 315});
  KRV_DSkin.setListOnly(true);  // only a skin of the folder can be saved
  add(KRV_DSkin);
  KRV_Dfnt.setGeometry({kFieldLeft, 1305, kFieldWidth, 315});
  KRV_Dfnt.setLocked(true);  // the font chooser sets the name
  KRV_Dfnt.setAccessibleName("Font");
  add(KRV_Dfnt);
  fntTest.setGeometry({kFieldLeft, 1725, kFieldWidth, 495});
  fntTest.setCaption(kFontSample);
  fntTest.setAlignment(ui::Alignment::Center);
  fntTest.setShrinkToFit(true);  // the whole sample line shows, whatever the font's size
  add(fntTest);
  buttonDesign.place(*this, fntAdjust, "Font Settings", {kFieldLeft, 2325, 1710, 375});
  fntAdjust.setToolTipText(" Adjust font size, type, and color");
  buttonDesign.place(*this, fntBKG, "Background", {kFieldLeft + 1845, 2325, 1710, 375});
  fntBKG.setToolTipText(" Adjust the FONT background color");

  fraTransparent.setGeometry({kMargin, 2850, kFullWidth, 855});
  fraTransparent.setCaption("Transparency Value");
  fraTransparent.setToolTipText("Only Available with Windows 2000, and XP");
  add(fraTransparent);
  txtTransparent.setGeometry({150, 330, 720, 315});
  txtTransparent.setToolTipText("0 = Invisible - > 255 = Disabled");
  add(txtTransparent, &fraTransparent);
  sldTransparent.setGeometry({960, 270, kFullWidth - 1080, 435});
  sldTransparent.setRange(0, 255);
  sldTransparent.setLargeChange(15);
  sldTransparent.setTickFrequency(15);
  add(sldTransparent, &fraTransparent);

  Detach_Chk[0].setGeometry({kMargin, 3825, kFullWidth, 255});
  Detach_Chk[0].setCaption("Launch the KRV Floating Clock when KRV Starts.");
  add(Detach_Chk[0]);
  Detach_Chk[1].setGeometry({kMargin, 4125, kFullWidth, 255});
  Detach_Chk[1].setCaption("Allow KRV Floating clock to be on top of other applications.");
  add(Detach_Chk[1]);

  buttonDesign.place(*this, DTApply, "Apply", {kFieldLeft + 975, 4590, 1230, 375});
  buttonDesign.place(*this, DTCancel, "Cancel", {kFieldLeft + 2325, 4590, 1230, 375});
}

}  // namespace korvane::display
