// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window: its own properties, its controls (each optionally inside a frame) and its events.
// A host mirrors it as a native window and feeds the user's actions back as the same events.
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/image_list.h"
#include "platform/ui/menu.h"
#include "platform/ui/option_button.h"

namespace korvane::ui {

enum class WindowState : int { Normal = 0, Minimized = 1, Maximized = 2 };
enum class BorderStyle : int { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };

// Why a form is asked to close (the unload mode).
constexpr int kCloseFromControlMenu = 0;  // its own close box or system menu
constexpr int kCloseFromCode = 1;
constexpr int kCloseForSessionEnd = 2;  // the desktop session (or a signal) ends the program

class Form {
 public:
  explicit Form(std::string name) : name_(std::move(name)) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  struct Entry {
    Control* control;
    Control* container;  // nullptr: the form's client area
  };

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  // Icon files (several sizes of one picture) under the program folder.
  const std::vector<std::string>& iconFiles() const { return iconFiles_; }
  void setIconFiles(std::vector<std::string> files) { set(iconFiles_, files); }

  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }
  // Also the outer size until a host reports the real one with its frame.
  void setClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    bounds_.width = width;
    bounds_.height = height;
    PropertyChanged();
  }
  // Outer position and size in twips.
  TwipsRect bounds() const { return bounds_; }
  // Moves the window by code.
  void move(int left, int top) {
    if (bounds_.left == left && bounds_.top == top) return;
    bounds_.left = left;
    bounds_.top = top;
    PropertyChanged();
  }
  // What the host reports after the window system placed the window (raises nothing).
  void noteBounds(const TwipsRect& r) { bounds_ = r; }

  WindowState windowState() const { return state_; }
  // A change of state, by code or by the user, raises Resize.
  void setWindowState(WindowState s) {
    if (state_ == s) return;
    state_ = s;
    PropertyChanged();
    Resize();
  }
  bool visible() const { return visible_; }
  void show() { set(visible_, true); }
  void hide() { set(visible_, false); }

  BorderStyle borderStyle() const { return border_; }
  void setBorderStyle(BorderStyle b) { set(border_, b); }
  bool showInTaskbar() const { return showInTaskbar_; }
  void setShowInTaskbar(bool on) { set(showInTaskbar_, on); }
  // Where the window first shows: centred by the host, or where the form moved itself.
  bool placedByCode() const { return placedByCode_; }
  void setPlacedByCode(bool on) { set(placedByCode_, on); }
  bool topmost() const { return topmost_; }
  // Escape closes the window as its close box does (a dialog).
  bool closesOnEscape() const { return closesOnEscape_; }
  void setClosesOnEscape(bool on) { closesOnEscape_ = on; }
  void setTopmost(bool on) { set(topmost_, on); }
  // 0 transparent .. 255 opaque.
  int opacity() const { return opacity_; }
  void setOpacity(int alpha) { set(opacity_, alpha); }
  // The colour under the controls (0x00BBGGRR; the desktop's own when kDefaultColour).
  Colour backColor() const { return backColor_; }
  void setBackColor(Colour colour) { set(backColor_, colour); }
  bool minimizeButton() const { return minButton_; }
  void setMinimizeButton(bool on) { set(minButton_, on); }
  // Without a control box and a caption a fixed single border has no title bar: only a thin
  // line around the client area.
  bool controlBox() const { return controlBox_; }
  void setControlBox(bool on) { set(controlBox_, on); }
  bool thinFrameOnly() const {
    return border_ == BorderStyle::FixedSingle && !controlBox_ && caption().empty();
  }

  // Option buttons added with the same container form one group.
  void add(Control& control, Control* container = nullptr) {
    controls_.push_back({&control, container});
    if (auto* option = dynamic_cast<OptionButton*>(&control))
      option->Selected.connect([this, option, container] { clearGroup(*option, container); });
  }
  const std::vector<Entry>& controls() const { return controls_; }
  ImageList* imageList() const { return imageList_; }
  void setImageList(ImageList* list) { imageList_ = list; }

  bool loaded() const { return loaded_; }
  // Loading raises Load once.
  void load() {
    if (loaded_) return;
    loaded_ = true;
    Load();
  }
  // A close request: QueryUnload and Unload may cancel; otherwise the form is gone (Closed).
  bool unload(int unloadMode) {
    if (!loaded_ || unloading_) return false;
    int cancel = 0;
    QueryUnload(cancel, unloadMode);
    if (cancel != 0) return false;
    unloading_ = true;
    Unload(cancel);
    unloading_ = false;
    if (cancel != 0) return false;
    loaded_ = false;
    visible_ = false;
    Closed();
    return true;
  }

  // The window this one stays above and is centred on (none: the desktop).
  Form* owner() const { return owner_; }
  void setOwner(Form* w) { owner_ = w; }

  // Requests to the host.
  void bringToForeground() { ForegroundRequested(); }
  void popupMenu(Menu& menu, MenuItem* defaultItem) { PopupRequested(menu, defaultItem); }

  Event<> Load;
  Event<> Resize;
  Event<int&, int> QueryUnload;               // cancel, unload mode
  Event<int&> Unload;                         // cancel
  Event<int, int, double, double> MouseMove;  // button, shift, x, y (twips)
  Event<> Closed;
  // The window's surface needs drawing (shown, uncovered, resized).
  Event<> Paint;
  Event<> PropertyChanged;
  Event<> ForegroundRequested;
  // Enter reached the window without a control taking it: a dialog presses its default button.
  Event<> EnterPressed;
  Event<Menu&, MenuItem*> PopupRequested;

 private:
  template <class T>
  bool set(T& field, const T& value) {
    return setAndNotify(field, value, PropertyChanged);
  }

  void clearGroup(const OptionButton& chosen, const Control* container) {
    for (const Entry& e : controls_)
      if (auto* other = dynamic_cast<OptionButton*>(e.control);
          other && other != &chosen && e.container == container)
        other->setValue(false);
  }

  std::string name_;
  Form* owner_ = nullptr;
  std::string caption_;
  std::vector<std::string> iconFiles_;
  int clientWidth_ = 4800;
  int clientHeight_ = 3600;
  TwipsRect bounds_{0, 0, 4800, 3600};
  WindowState state_ = WindowState::Normal;
  bool visible_ = false;
  BorderStyle border_ = BorderStyle::FixedSingle;
  bool showInTaskbar_ = true;
  bool topmost_ = false;
  bool closesOnEscape_ = false;
  bool placedByCode_ = false;
  int opacity_ = 255;
  Colour backColor_ = kDefaultColour;
  bool minButton_ = true;
  bool controlBox_ = true;
  bool loaded_ = false;
  bool unloading_ = false;
  std::vector<Entry> controls_;
  ImageList* imageList_ = nullptr;
};

}  // namespace korvane::ui
