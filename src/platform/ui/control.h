#pragma once
// The base of every control model: name, geometry in twips, enabled, visible, tooltip.
#include <string>
#include <utility>

#include "platform/ui/event.h"

namespace korvane::ui {

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipsRect&) const = default;
};

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const TwipsRect& geometry() const { return geometry_; }
  void setGeometry(const TwipsRect& r) { set(geometry_, r); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { set(enabled_, on); }
  bool visible() const { return visible_; }
  void setVisible(bool on) { set(visible_, on); }
  const std::string& toolTipText() const { return toolTip_; }
  void setToolTipText(const std::string& tip) { set(toolTip_, tip); }

  // Raised after any property changed, so that a host can mirror it.
  Event<> PropertyChanged;

 protected:
  template <class T>
  bool set(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    PropertyChanged();
    return true;
  }

 private:
  std::string name_;
  TwipsRect geometry_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
};

}  // namespace korvane::ui
