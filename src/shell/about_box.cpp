// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/about_box.h"

#include "shell/product.h"

namespace korvane::shell {

AboutBox::AboutBox(controls::ButtonServices buttons, int twipsPerPixel)
    : ui::Form("frmAbout"),
      buttonDesign(twipsPerPixel),
      cmdHelp("cmdHelp", buttonDesign.services(buttons)),
      cmdOK("cmdOK", buttonDesign.services(buttons)) {
  setClientSize(5730, 2640);
  setBorderStyle(ui::BorderStyle::FixedDialog);
  setClosesOnEscape(true);
  setMinimizeButton(false);
  setShowInTaskbar(false);
  setCaption("About Korvane");
  setIconFiles({"images/korvane-16.png", "images/korvane-32.png"});
  picIcon.setGeometry({240, 240, 720, 720});
  picIcon.setFile("images/korvane-48.png");
  lblTitle.setGeometry({1140, 240, 4350, 480});
  lblTitle.setFont({"Arial", 12, true, false});
  lblTitle.setCaption(kProductTitle);
  lblVersion.setGeometry({1140, 780, 4350, 255});
  lblDescription.setGeometry({1140, 1110, 4350, 840});
  lblDescription.setCaption(kProductDescription);
  for (ui::Control* c :
       std::initializer_list<ui::Control*>{&picIcon, &lblTitle, &lblVersion, &lblDescription})
    add(*c);
  buttonDesign.place(*this, cmdHelp, "Help", {2790, 2100, 1260, 375});
  buttonDesign.place(*this, cmdOK, "OK", {4230, 2100, 1260, 375});
  cmdOK.Click.connect([this] { unload(ui::kCloseFromCode); });
  cmdHelp.Click.connect([this] {
    if (openHelp) openHelp();
  });
}

void AboutBox::setVersion(const std::string& version) {
  lblVersion.setCaption("Version " + version);
}

}  // namespace korvane::shell
