// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one generic host: mirrors any ui::Form as a real top-level QWidget, its controls as
// child widgets, and feeds the user's actions back as the same control events.
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/qt/control_bindings.h"
#include "platform/system_colours.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

class QColor;
class QWidget;
class QTimer;

namespace korvane::platform {

class HostWindow;
class SecondBeat;

class FormHost : public QObject {
 public:
  // Throws UnboundControlError when a control of the form has no binding. System colours come
  // from colours, or from the desktop's palette when it is null. Timers on the second join
  // beat when given.
  FormHost(ui::Form& form, const std::string& programFolder, const ControlBindings& bindings,
           const SystemColours* colours = nullptr, SecondBeat* beat = nullptr);
  ~FormHost() override;

  QWidget* window() const;
  // How the host finds the window of the form's owner (the program's hosts know every window).
  using OwnerLookup = std::function<QWidget*(const ui::Form& owner)>;
  void setOwnerLookup(OwnerLookup lookup) { ownerLookup_ = std::move(lookup); }
  // The width in pixels of the line the host draws around a form with a thin frame only.
  int frameWidth() const { return form_.thinFrameOnly() ? 1 : 0; }
  ui::Form& form() { return form_; }

  // The form is unloaded: hides the window and ends every link to the form and its controls, so
  // that the window may outlive the form until it can be destroyed safely.
  void detach();
  bool detached() const { return detached_; }

  // Called by the window.
  void userClose();
  // Escape reached the window: a dialog closes.
  bool userEscape();
  void userEnter();
  void userStateChanged();
  void noteBounds();
  void userPaint();
  // The form's timers stop ticking (its host is released).
  void leaveBeat();
  // Keeps a handler a binding gave its model until the host goes.
  void keep(ui::Connection c) { connections_.emplace_back(std::move(c)); }
  // From now on a frameless, always-on-top tool window whose position is the form's relative to
  // origin (screen pixels): the child of the taskbar clock at origin.
  void adoptAt(QPoint origin);

  using Binding = ControlBinding;
  // The control a widget made by a host mirrors, or null.
  static const ui::Control* controlOf(const QWidget* widget);
  // The image of picture k of the form's image list, or a file picture.
  QPixmap picture(int imageListIndex, const std::string& file, QSize size) const;
  // A colour value (0x00BBGGRR or a system colour) as this desktop shows it.
  QColor colour(Colour value) const;

 private:
  void build(const ControlBindings& bindings);
  void bindTimer(ui::Control& control);
  void applyForm();
  // Mirrors the property of one control that changed; none: all of them.
  void mirror(size_t slot, std::optional<ui::Property> changed);
  static std::function<double()> mouseScale(const ui::Control& control);
  // Copies the common property that changed; none: all of them.
  void applyCommon(const Binding& b, std::optional<ui::Property> changed);
  void applyColours(QWidget& w, Colour back, Colour fore);
  void popup(ui::Menu& menu, ui::MenuItem* defaultItem);
  // The owner's window, when the form has an owner with a live host.
  QWidget* ownerWindow() const;
  void showAboveOwner();
  void place();

  // Every handler this host gave the models; they end with the host, so a form hosted again
  // does not keep calling a host that is gone.
  std::vector<ui::ScopedConnection> connections_;
  ui::Form& form_;
  QString folder_;
  // The desktop's palette, made only when no colours were given.
  std::unique_ptr<SystemColours> ownColours_;
  const SystemColours& colours_;
  OwnerLookup ownerLookup_;
  std::unique_ptr<HostWindow> window_;
  std::vector<Binding> bindings_;
  std::vector<std::unique_ptr<QTimer>> timers_;
  SecondBeat* beat_;
  std::vector<ui::Timer*> onBeat_;
  bool placed_ = false;
  Colour formBack_ = ui::kDefaultColour;  // the window's own back colour as applied
  bool adopted_ = false;
  QPoint origin_;  // what the form's position is relative to, in screen pixels
  bool applying_ = false;
  bool detached_ = false;
};

}  // namespace korvane::platform
