// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of every control model: name, geometry in twips, enabled, visible, tooltip, font
// and colours.
#include <cstdint>
#include <string>
#include <utility>

#include "common/colour.h"
#include "platform/font.h"
#include "platform/ui/event.h"

namespace korvane::ui {

// The form model's font is the one font record of the program.
using Font = platform::Font;

// The colour a control starts with: the desktop's own for that kind of control. Any other value
// is a colour value of common/colour.h (0x00BBGGRR, or a system colour).
constexpr Colour kDefaultColour = 0xFFFFFFFFu;

// Mouse buttons and shift keys as mouse events report them (bit sets).
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// Twips per pixel on a 96-dpi screen, where no screen tells the real factor.
constexpr int kTwipsPerPixelAt96Dpi = 15;

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipsRect&) const = default;
};

// Which property of a control changed: the ones every control has, or Content for any of its
// own kind (caption, text, value, picture, list...).
enum class Property : uint8_t {
  Position,  // moved, same size
  Size,      // resized (and perhaps moved)
  Enabled,
  Visible,
  ToolTip,
  AccessibleName,
  Typeface,
  ForeColor,
  BackColor,
  Content,
};

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const TwipsRect& geometry() const { return geometry_; }
  void setGeometry(const TwipsRect& r) {
    const bool sized = r.width != geometry_.width || r.height != geometry_.height;
    set(geometry_, r, sized ? Property::Size : Property::Position);
  }
  // What a host reports after the toolkit sized the control itself (raises nothing).
  void noteGeometry(const TwipsRect& r) { geometry_ = r; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { set(enabled_, on, Property::Enabled); }
  bool visible() const { return visible_; }
  void setVisible(bool on) { set(visible_, on, Property::Visible); }
  const std::string& toolTipText() const { return toolTip_; }
  void setToolTipText(const std::string& tip) { set(toolTip_, tip, Property::ToolTip); }
  // What a screen reader calls a control that has no caption of its own.
  const std::string& accessibleName() const { return accessibleName_; }
  void setAccessibleName(const std::string& name) {
    set(accessibleName_, name, Property::AccessibleName);
  }
  const Font& font() const { return font_; }
  void setFont(const Font& f) { set(font_, f, Property::Typeface); }
  Colour foreColor() const { return foreColor_; }
  void setForeColor(Colour c) { set(foreColor_, c, Property::ForeColor); }
  Colour backColor() const { return backColor_; }
  void setBackColor(Colour c) { set(backColor_, c, Property::BackColor); }

  // Raised after a property changed, saying which, so that a host can mirror just that.
  Event<Property> PropertyChanged;
  // The user's mouse on the control: button, shift, x, y in the control's own scale (twips, or
  // pixels in a picture box and in the program's button).
  Event<int, int, double, double> MouseDown;
  Event<int, int, double, double> MouseUp;
  Event<int, int, double, double> MouseMove;
  Event<> DblClick;

 protected:
  // Sets a property of the control's own kind, or the one named.
  template <class T>
  bool set(T& field, const T& value, Property which = Property::Content) {
    return setAndNotify(field, value, PropertyChanged, which);
  }

 private:
  std::string name_;
  TwipsRect geometry_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
  std::string accessibleName_;
  Font font_;
  Colour foreColor_ = kDefaultColour;
  Colour backColor_ = kDefaultColour;
};

}  // namespace korvane::ui
