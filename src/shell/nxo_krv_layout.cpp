// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's design: every control with its caption, position and size (twips).
#include "program/vocabulary.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

namespace {

constexpr Colour kBannerBack = makeColour(0xFF, 0xFF, 0xFF);
constexpr Colour kBannerText = makeColour(0x1F, 0x3A, 0x68);

ui::Font arial(double size, bool bold = false) {
  return {"Arial", size, bold, false};
}

}  // namespace

void NXO_KRV::layout() {
  setClientSize(6045, 3735);
  setBorderStyle(ui::BorderStyle::FixedSingle);
  setIconFiles({"images/korvane-16.png", "images/korvane-32.png", "images/korvane-48.png",
                "images/korvane-64.png", "images/korvane-128.png"});
  for (int k = 1; k <= 34; ++k)
    IML.add("images/iml/" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".png");
  setImageList(&IML);

  Frame1.setGeometry({0, -75, 6045, 960});
  Frame1.setBorder(false);
  Frame1.setBackColor(kBannerBack);
  add(Frame1);
  Image1.setGeometry({150, 195, 720, 720});
  Image1.setFile("images/korvane-48.png");
  add(Image1, &Frame1);
  NOLLabel.setGeometry({1005, 225, 4900, 405});
  NOLLabel.setFont(arial(15.75, true));
  NOLLabel.setForeColor(kBannerText);
  NOLLabel.setBackColor(kBannerBack);
  add(NOLLabel, &Frame1);
  ROT.setGeometry({1005, 645, 4900, 195});
  ROT.setCaption("Keeping you right on time anywhere in the world...");
  ROT.setFont({"Lucida Console", 7.5, false, false});
  ROT.setForeColor(kBannerText);
  ROT.setBackColor(kBannerBack);
  add(ROT, &Frame1);

  TimeSvrLbl.setGeometry({45, 900, 4530, 255});
  TimeSvrLbl.setCaption("Atomic Time Server");
  add(TimeSvrLbl);
  vbRemoteHost.setGeometry({45, 1170, 4530, 300});
  // No design text: a list without the last server then shows its first entry here.
  add(vbRemoteHost);

  buttonDesign.place(*this, About, "About / Help", {4665, 930, 1320, 375});
  buttonDesign.place(*this, Advanced, "Advanced", {4665, 1335, 1320, 375});
  buttonDesign.place(*this, Mini, "Minimize", {4665, 2460, 1320, 375});
  buttonDesign.place(*this, SyncTimeNow, "Synchronize", {4665, 3315, 1320, 375});

  LED_Display.setGeometry({45, 1740, 5925, 585});
  add(LED_Display);
  Current.setGeometry({45, 120, 4545, 435});
  Current.setMultiLine(true);
  Current.setLocked(true);
  Current.setFont(arial(8.25, true));
  add(Current, &LED_Display);
  LEDLBL.setGeometry({4710, 150, 1110, 165});
  LEDLBL.setCaption("SRC  RX  TX");
  LEDLBL.setFont(arial(6.75));
  add(LEDLBL, &LED_Display);
  const int lampLeft[] = {4755, 5130, 5505};
  ui::ImageBox* lampBoxes[] = {&LED0, &LED1, &LED2};
  for (int i = 0; i < 3; ++i) {
    lampBoxes[i]->setGeometry({lampLeft[i], 270, 240, 240});
    lampBoxes[i]->setStretch(true);  // the lamp pictures are drawn larger than the lamps
    add(*lampBoxes[i], &LED_Display);
  }

  Options.setGeometry({60, 2355, 4545, 1365});
  Options.setCaption("Options");
  add(Options);
  Servers.setGeometry({135, 210, 4290, 375});
  add(Servers, &Options);
  RandomCheck.setGeometry({135, 660, 4245, 240});
  RandomCheck.setCaption("Randomize Atomic Time Servers");
  add(RandomCheck, &Options);
  UpdateLbl.setGeometry({225, 960, 1740, 225});
  UpdateLbl.setCaption("Synchronize Every :");
  add(UpdateLbl, &Options);
  SyncN.setGeometry({2010, 945, 765, 345});
  SyncN.setText("59");
  add(SyncN, &Options);
  SyncIntC.setGeometry({2805, 945, 1620, 345});
  SyncIntC.setText(std::string(program::kDefaultIntervalUnit));
  SyncIntC.setListOnly(true);  // a typed ":" would corrupt the stored Settings
  add(SyncIntC, &Options);

  SyncNow.setInterval(1000);
  SyncNow.setOnSecond(true);  // the time shown flips with the true second
  add(SyncNow);
  fillMenu();
}

void NXO_KRV::fillMenu() {
  for (ui::MenuItem* item :
       {&mnuShow, &mnuSep1, &mnuSync, &mnuSep2, &mnuhelp, &mnuOHelp, &mnuSep3, &mnuExit})
    mnuMain.add(*item);
  mnuMain.setVisible(false);  // no menu bar: the tray's pop-up only
}

}  // namespace korvane::shell
