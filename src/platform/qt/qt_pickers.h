// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font and colour choosers as Qt's own dialogs, modal to the owner form's window.
#include "platform/pickers.h"
#include "platform/qt/qt_system_colours.h"

class QWidget;

namespace korvane::platform {

class QtFormHosts;

class QtPickers : public Pickers {
 public:
  // hosts give the owner forms' windows; without them the dialogs are modal to the whole program.
  explicit QtPickers(const QtFormHosts* hosts = nullptr) : hosts_(hosts) {}
  // A size the dialog lets through outside minPoints..maxPoints comes back at the nearer limit.
  std::optional<FontChoice> pickFont(const ui::Form* owner, const FontChoice& initial,
                                     int minPoints, int maxPoints) override;
  // System colours (initial or custom) start as the desktop's colour they name.
  std::optional<Colour> pickColour(const ui::Form* owner, Colour initial,
                                   CustomColours& custom) override;

 private:
  QWidget* ownerWindow(const ui::Form* owner) const;
  const QtFormHosts* hosts_;
  QtSystemColours system_;
};

}  // namespace korvane::platform
