// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_pickers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>
#include <algorithm>

#include "platform/qt/nested_loops.h"
#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

namespace {

QColor toQColor(Colour rgb) {
  return QColor(red(rgb), green(rgb), blue(rgb));
}

Colour fromQColor(const QColor& c) {
  return makeColour(c.red(), c.green(), c.blue());
}

// Runs a chooser modal to owner's window where there is one, else to the whole program; true
// when accepted. The chooser lives on the heap: should its owner go while it is open (the
// program ending), it goes with the owner, once, and counts as cancelled.
bool runChooser(const QPointer<QDialog>& dialog, const QWidget* owner) {
  dialog->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
  const NestedLoop nested;
  return dialog->exec() == QDialog::Accepted && dialog;
}

// The chosen font in the model's terms; what Qt does not carry (charset, the classic face the
// stand-in was mapped from) stays as it was.
ui::Font chosenFont(const QFont& chosen, const ui::Font& initial, int minPoints, int maxPoints) {
  ui::Font f = initial;
  if (chosen.family() != toQFont(initial).family()) f.name = chosen.family().toStdString();
  const double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : initial.size;
  f.size = std::clamp(points, double(minPoints), double(std::max(minPoints, maxPoints)));
  f.bold = chosen.bold();
  f.italic = chosen.italic();
  f.underline = chosen.underline();
  f.strikethrough = chosen.strikeOut();
  return f;
}

}  // namespace

QWidget* QtPickers::ownerWindow(const ui::Form* owner) const {
  const FormHost* host = owner && hosts_ ? hosts_->hostOf(*owner) : nullptr;
  return host ? host->window() : nullptr;
}

std::optional<Pickers::FontChoice> QtPickers::pickFont(const ui::Form* owner,
                                                       const FontChoice& initial, int minPoints,
                                                       int maxPoints) {
  QFont start = toQFont(initial.font);
  start.setUnderline(initial.font.underline);
  start.setStrikeOut(initial.font.strikethrough);
  QWidget* parent = ownerWindow(owner);
  const QPointer<QFontDialog> dialog = new QFontDialog(start, parent);
  const bool accepted = runChooser(dialog.data(), parent);
  const QFont chosen = dialog ? dialog->selectedFont() : start;
  delete dialog.data();
  if (!accepted) return std::nullopt;
  // Qt's font dialog has no text colour: a colour step follows; cancelled, the colour stays.
  const QPointer<QColorDialog> colour =
      new QColorDialog(toQColor(system_.resolve(initial.colour)), parent);
  colour->setWindowTitle(QStringLiteral("Select Text Color"));
  colour->setOption(QColorDialog::DontUseNativeDialog);
  const bool coloured = runChooser(colour.data(), parent);
  const Colour text = coloured ? fromQColor(colour->selectedColor()) : initial.colour;
  delete colour.data();
  return FontChoice{chosenFont(chosen, initial.font, minPoints, maxPoints), text};
}

std::optional<Colour> QtPickers::pickColour(const ui::Form* owner, Colour initial,
                                            CustomColours& custom) {
  for (int i = 0; i < int(custom.size()); ++i)
    QColorDialog::setCustomColor(i, toQColor(system_.resolve(custom[size_t(i)])));
  QWidget* parent = ownerWindow(owner);
  const QPointer<QColorDialog> dialog =
      new QColorDialog(toQColor(system_.resolve(initial)), parent);
  dialog->setOption(QColorDialog::DontUseNativeDialog);  // the custom colours live in Qt's own
  const bool chosen = runChooser(dialog.data(), parent);
  const QColor picked = dialog ? dialog->selectedColor() : QColor();
  delete dialog.data();
  // Colours added to the custom ones stay, whether or not a colour was chosen.
  for (int i = 0; i < int(custom.size()); ++i)
    custom[size_t(i)] = fromQColor(QColorDialog::customColor(i));
  if (!chosen) return std::nullopt;
  return fromQColor(picked);
}

}  // namespace korvane::platform
