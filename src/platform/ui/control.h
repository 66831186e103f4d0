#pragma once
// The base of every control model: name, geometry in twips, enabled, visible, tooltip.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/ui/event.h"

namespace korvane::ui {

// A font by face name and point size, as a control's design gives it.
struct Font {
  std::string name = "Arial";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;  // 0 Western; the settings keep it with the font
  bool operator==(const Font&) const = default;
};

// A colour as 0xRRGGBB; kDefaultColour leaves the desktop's own.
constexpr int32_t kDefaultColour = -1;

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

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  const TwipsRect& geometry() const { return geometry_; }
  void setGeometry(const TwipsRect& r) { set(geometry_, r); }
  // What a host reports after the toolkit sized the control itself (raises nothing).
  void noteGeometry(const TwipsRect& r) { geometry_ = r; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { set(enabled_, on); }
  bool visible() const { return visible_; }
  void setVisible(bool on) { set(visible_, on); }
  const std::string& toolTipText() const { return toolTip_; }
  void setToolTipText(const std::string& tip) { set(toolTip_, tip); }
  const Font& font() const { return font_; }
  void setFont(const Font& f) { set(font_, f); }
  int32_t foreColor() const { return foreColor_; }
  void setForeColor(int32_t rgb) { set(foreColor_, rgb); }
  int32_t backColor() const { return backColor_; }
  void setBackColor(int32_t rgb) { set(backColor_, rgb); }

  // Raised after any property changed, so that a host can mirror it.
  Event<> PropertyChanged;
  // The user's mouse on the control: button, shift, x, y in the control's own scale (twips, or
  // pixels in a picture box).
  Event<int, int, double, double> MouseDown;
  Event<int, int, double, double> MouseUp;
  Event<int, int, double, double> MouseMove;
  Event<> DblClick;

 protected:
  template <class T>
  bool set(T& field, const T& value) {
    return setAndNotify(field, value, PropertyChanged);
  }

 private:
  std::string name_;
  TwipsRect geometry_;
  bool enabled_ = true;
  bool visible_ = true;
  std::string toolTip_;
  Font font_;
  int32_t foreColor_ = kDefaultColour;
  int32_t backColor_ = kDefaultColour;
};

}  // namespace korvane::ui
