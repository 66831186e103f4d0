#pragma once
// The one generic host: mirrors any ui::Form as a real top-level QWidget, its controls as
// child widgets, and feeds the user's actions back as the same control events.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/form.h"

class QWidget;
class QTimer;

namespace korvane::platform {

class HostWindow;

class FormHost : public QObject {
 public:
  FormHost(ui::Form& form, const std::string& programFolder);
  ~FormHost() override;

  QWidget* window() const;
  ui::Form& form() { return form_; }

  // Called by the window.
  void userClose();
  void userStateChanged();
  void noteBounds();

  // A child widget mirroring one control; refresh copies the model's properties to it.
  struct Binding {
    ui::Control* control = nullptr;
    QWidget* widget = nullptr;
    std::function<void()> refresh;
  };
  // The control a widget made by a host mirrors, or null.
  static const ui::Control* controlOf(const QWidget* widget);
  // The image of picture k of the form's image list, or a file picture.
  QPixmap picture(int imageListIndex, const std::string& file, QSize size) const;

 private:
  void build();
  Binding bind(ui::Control& control, QWidget* parent);
  void bindTimer(ui::Control& control);
  void applyForm();
  void applyGeometry(const Binding& b);
  void popup(ui::Menu& menu, ui::MenuItem* defaultItem);

  // Every handler this host gave the models; they end with the host, so a form hosted again
  // does not keep calling a host that is gone.
  std::vector<ui::ScopedConnection> connections_;
  ui::Form& form_;
  QString folder_;
  std::unique_ptr<HostWindow> window_;
  std::vector<Binding> bindings_;
  std::vector<std::unique_ptr<QTimer>> timers_;
  bool placed_ = false;
  bool applying_ = false;
};

}  // namespace korvane::platform
