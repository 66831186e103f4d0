// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the Qt host mirrors each kind of control, registered by the control's type: the form
// model's own kinds come with the host; a logic folder's control registers its binding from app.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <typeindex>

#include "platform/ui/control.h"

class QWidget;

namespace korvane::platform {

class FormHost;

// A child widget mirroring one control; refresh copies the control's own properties to it.
struct ControlBinding {
  ui::Control* control = nullptr;
  QWidget* widget = nullptr;
  std::function<void()> refresh;
  // The widget feeds the mouse to its model itself; the host does not raise its mouse events.
  bool reportsMouse = false;
};

// A control kind with no binding: the host refuses the form instead of leaving a gap in it.
class UnboundControlError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ControlBindings {
 public:
  using Make = std::function<ControlBinding(ui::Control&, QWidget* parent, FormHost& host)>;

  // Binds controls of exactly type C.
  template <class C>
  void add(std::function<ControlBinding(C&, QWidget*, FormHost&)> make) {
    makers_[std::type_index(typeid(C))] = [make](ui::Control& c, QWidget* parent, FormHost& h) {
      return make(static_cast<C&>(c), parent, h);
    };
  }
  // The binding of a control's own type; throws UnboundControlError when there is none.
  ControlBinding bind(ui::Control& control, QWidget* parent, FormHost& host) const {
    const auto it = makers_.find(std::type_index(typeid(control)));
    if (it == makers_.end())
      throw UnboundControlError("no Qt binding for the kind of control " + control.name() + " (" +
                                typeid(control).name() + ")");
    return it->second(control, parent, host);
  }
  bool binds(const ui::Control& control) const {
    return makers_.count(std::type_index(typeid(control))) != 0;
  }

  // The form model's own kinds: labels, text and combo boxes, check boxes, frames, images...
  static ControlBindings standard();

 private:
  std::map<std::type_index, Make> makers_;
};

}  // namespace korvane::platform
