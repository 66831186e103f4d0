// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog's design: every control with its caption, position and size (twips).
#include "options/krv_config.h"
#include "program/vocabulary.h"

namespace korvane::options {

namespace {

// The banner of every window of the program.
constexpr Colour kBannerBack = makeColour(0xFF, 0xFF, 0xFF);
constexpr Colour kBannerText = makeColour(0x1F, 0x3A, 0x68);

}  // namespace

void KRV_Config::layout() {
  setClientSize(6045, 6180);
  setBorderStyle(ui::BorderStyle::FixedSingle);
  setClosesOnEscape(true);
  setMinimizeButton(false);

  Frame1.setGeometry({0, -75, 6045, 960});
  Frame1.setBorder(false);
  Frame1.setBackColor(kBannerBack);
  add(Frame1);
  Image1.setGeometry({150, 195, 720, 720});
  Image1.setFile("images/korvane-48.png");
  add(Image1, &Frame1);
  NOLLabel.setGeometry({975, 135, 4935, 390});
  NOLLabel.setCaption("Korvane 5.1");
  NOLLabel.setFont({"Arial", 15.75, true, false});
  NOLLabel.setForeColor(kBannerText);
  NOLLabel.setBackColor(kBannerBack);
  add(NOLLabel, &Frame1);
  ROT.setGeometry({1020, 480, 4995, 375});
  ROT.setCaption(
      "Advanced Setup Options:  Select your region  and startup options or a windows clock "
      "skin.");
  ROT.setFont({"Lucida Console", 7.5, false, false});
  ROT.setForeColor(kBannerText);
  ROT.setBackColor(kBannerBack);
  add(ROT, &Frame1);

  Frame2.setGeometry({0, 885, 6045, 5250});
  add(Frame2);
  RegionLbl.setGeometry({105, 165, 2040, 255});
  RegionLbl.setCaption("Select your Region.");
  add(RegionLbl, &Frame2);
  Regions.setGeometry({180, 420, 4500, 360});
  Regions.setText(std::string(program::kRegionBoxDesignText));
  add(Regions, &Frame2);
  buttonDesign.place(*this, SelTimeZone, "Time Zone", {4710, 405, 1275, 375}, &Frame2);
  closelbl.setGeometry({585, 840, 5280, 315});
  closelbl.setCaption("Select the closest region to you.  ");
  add(closelbl, &Frame2);
  RunKRV.setGeometry({180, 1125, 5475, 240});
  RunKRV.setCaption("Run Korvane when Windows Starts.");
  add(RunKRV, &Frame2);
  OpenMin.setGeometry({420, 1470, 4935, 255});
  OpenMin.setCaption("Open Minimized?");
  add(OpenMin, &Frame2);
  Label1.setGeometry({105, 1800, 3315, 255});
  Label1.setCaption("Select your default Time Protocol.");
  add(Label1, &Frame2);
  Protos.setGeometry({3510, 1755, 2475, 360});
  for (std::string_view protocol : program::kProtocolChoices) Protos.addItem(std::string(protocol));
  Protos.setText(std::string(program::choice::kAutomatic));
  add(Protos, &Frame2);
  WCSkinFrame.setGeometry({90, 2490, 5850, 2280});
  WCSkinFrame.setCaption("KRV Windows Clock Skin Settings.");
  add(WCSkinFrame, &Frame2);
  layoutSkinFrame();
  buttonDesign.place(*this, CheckUpdate, "Check for Software Updates", {45, 4815, 4530, 375},
                     &Frame2);
  buttonDesign.place(*this, Ap_CL, "Apply", {4605, 4815, 1380, 375}, &Frame2);
}

void KRV_Config::layoutSkinFrame() {
  PreViewPic.setGeometry({3510, 255, 2265, 405});
  add(PreViewPic, &WCSkinFrame);
  eWCS.setGeometry({240, 345, 5310, 300});
  eWCS.setCaption("Enable KRV Windows Clock Skin.");
  add(eWCS, &WCSkinFrame);
  buttonDesign.place(*this, PClockSkin, "Preview Clock Skin ->", {135, 675, 2295, 345},
                     &WCSkinFrame);
  PreViewSkin.setGeometry(kPreViewSkinDesign);
  add(PreViewSkin, &WCSkinFrame);
  Label3.setGeometry({180, 1050, 675, 255});
  Label3.setCaption("Show");
  add(Label3, &WCSkinFrame);
  buttonDesign.place(*this, ShowKRVFloat, "Show Floating KRV Clock", {3420, 1095, 2340, 345},
                     &WCSkinFrame);
  eSSecs.setGeometry({345, 1305, 1350, 225});
  eSSecs.setCaption("Seconds");
  add(eSSecs, &WCSkinFrame);
  eSAMPM.setGeometry({1785, 1305, 1080, 195});
  eSAMPM.setCaption("AM / PM");
  add(eSAMPM, &WCSkinFrame);
  buttonDesign.place(*this, KRV_DSettings, "Adjust Floating KRV Clock", {3420, 1485, 2340, 345},
                     &WCSkinFrame);
  eSM24.setGeometry({345, 1605, 2025, 210});
  eSM24.setCaption("Military / 24h time");
  add(eSM24, &WCSkinFrame);
  Label2.setGeometry({75, 1935, 1200, 270});
  Label2.setCaption("Selected Skin");
  add(Label2, &WCSkinFrame);
  SkinCmb.setGeometry({1245, 1875, 3375, 345});
  SkinCmb.setAccessibleName("Clock skin");
  add(SkinCmb, &WCSkinFrame);
  buttonDesign.place(*this, ChangeSkin, "Use Skin", {4650, 1860, 1110, 360}, &WCSkinFrame);
  ChangeSkin.setEnabled(false);
}

}  // namespace korvane::options
