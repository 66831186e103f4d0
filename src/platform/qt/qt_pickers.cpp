#include "platform/qt/qt_pickers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <algorithm>

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

// Modal to owner's window where there is one, else to the whole program.
void makeModal(QDialog& dialog, const QWidget* owner) {
  dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
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
  QFontDialog dialog(start, parent);
  makeModal(dialog, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  // The dialog has no text colour: the one the caller had stays.
  return FontChoice{chosenFont(dialog.selectedFont(), initial.font, minPoints, maxPoints),
                    initial.colour};
}

std::optional<Colour> QtPickers::pickColour(const ui::Form* owner, Colour initial,
                                            CustomColours& custom) {
  for (int i = 0; i < int(custom.size()); ++i)
    QColorDialog::setCustomColor(i, toQColor(system_.resolve(custom[size_t(i)])));
  QWidget* parent = ownerWindow(owner);
  QColorDialog dialog(toQColor(system_.resolve(initial)), parent);
  dialog.setOption(QColorDialog::DontUseNativeDialog);  // the custom colours live in Qt's own
  makeModal(dialog, parent);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  // Colours added to the custom ones stay, whether or not a colour was chosen.
  for (int i = 0; i < int(custom.size()); ++i)
    custom[size_t(i)] = fromQColor(QColorDialog::customColor(i));
  if (!chosen) return std::nullopt;
  return fromQColor(dialog.selectedColor());
}

}  // namespace korvane::platform
