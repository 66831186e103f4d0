#pragma once
// The about box: product title, version and a short description, with Help and OK.
#include <functional>
#include <string>

#include "platform/ui/command_button.h"
#include "platform/ui/form.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"

namespace korvane::shell {

class AboutBox : public ui::Form {
 public:
  AboutBox();
  // Fills the texts; the version comes from the build.
  void setVersion(const std::string& version);

  ui::ImageBox picIcon{"picIcon"};
  ui::Label lblTitle{"lblTitle"};
  ui::Label lblVersion{"lblVersion"};
  ui::Label lblDescription{"lblDescription"};
  ui::CommandButton cmdHelp{"cmdHelp"};
  ui::CommandButton cmdOK{"cmdOK"};

  // What "Help" opens (the main window's local help).
  std::function<void()> openHelp;
};

}  // namespace korvane::shell
