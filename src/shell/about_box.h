// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: product title, version and a short description, with Help and OK.
#include <functional>
#include <string>

#include "controls/form_buttons.h"
#include "controls/nxo_buttons.h"
#include "platform/ui/form.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"

namespace korvane::shell {

class AboutBox : public ui::Form {
 public:
  explicit AboutBox(controls::ButtonServices buttons = {},
                    int twipsPerPixel = ui::kTwipsPerPixelAt96Dpi);
  // Fills the texts; the version comes from the build.
  void setVersion(const std::string& version);

  // Declared before the buttons: they are built with it.
  controls::FormButtons buttonDesign;

  ui::ImageBox picIcon{"picIcon"};
  ui::Label lblTitle{"lblTitle"};
  ui::Label lblVersion{"lblVersion"};
  ui::Label lblDescription{"lblDescription"};
  controls::NXOButtons cmdHelp;
  controls::NXOButtons cmdOK;

  // What "Help" opens (the main window's local help).
  std::function<void()> openHelp;
};

}  // namespace korvane::shell
