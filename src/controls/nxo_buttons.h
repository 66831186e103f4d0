// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own push button: five styles, caption with access key, picture with a hover
// picture, hover tracking, links, and its persisted properties.
//
// A host shows it by displaying surface() (0xFFRRGGBB words: a 32-bit RGB image without a
// copy; repainted on every state change, then Repainted), clipping its window to
// windowShape() when that is not empty (ShapeChanged), using handPointer(), mousePointer()
// and mouseIcon() for the pointer, calling overTimer().tick() every interval while the timer
// is enabled (its PropertyChanged tells when that changes), capturing the mouse on
// CaptureMouse, and feeding input through the plain calls below. Key codes are virtual-key
// numbers (Space 32, Enter 13, letters their upper-case ASCII).
#include <cstdint>
#include <string>

#include "controls/button_properties.h"
#include "controls/button_state.h"
#include "platform/event_loop.h"
#include "platform/pointer_probe.h"
#include "platform/raster.h"
#include "platform/shell_open.h"
#include "platform/system_colours.h"
#include "platform/text_renderer.h"
#include "platform/ui/control.h"
#include "platform/ui/property_bag.h"
#include "platform/ui/timer.h"

namespace korvane::controls {

class NXOButtons;
struct PaintInput;

// What the button asks of the window that holds it; every answer has a default.
class ButtonContainer {
 public:
  virtual ~ButtonContainer() = default;
  // The container is being designed (borders drawn as for the normal state).
  virtual bool designMode() const { return false; }
  virtual bool isDefaultButton(const NXOButtons&) const { return false; }
  // The container's background picture, or null.
  virtual const platform::Raster* backgroundPicture() const { return nullptr; }
  virtual int twipsPerPixel() const { return ui::kTwipsPerPixelAt96Dpi; }
  // The font a new button takes; a container that names none gives the classic dialog face.
  virtual platform::Font ambientFont() const { return {"MS Sans Serif"}; }
  // The named property changed, so the container saves it.
  virtual void propertyChanged(const NXOButtons&, const std::string&) {}
};

// The platform services a button uses; any may be null (no text, classic colours, no links,
// hover ends only through pointerLeft(), no pending events run).
struct ButtonServices {
  const platform::TextRenderer* text = nullptr;
  const platform::SystemColours* colours = nullptr;
  platform::ShellOpen* shell = nullptr;
  const platform::PointerProbe* pointer = nullptr;
  platform::EventLoop* events = nullptr;
  ButtonContainer* container = nullptr;
};

class NXOButtons : public ui::Control {
 public:
  static constexpr int kSpace = 32;  // key code of the Space bar
  static constexpr const char* kVersion = "090102";

  // A button as a designer places it: the defaults, its caption the control's name.
  NXOButtons(std::string name, ButtonServices services);
  ~NXOButtons() override;

  // Properties; each setter notifies the container and applies its on-change rule. Font,
  // ForeColor and BackColor are the base control's (default ui::kDefaultColour draws as the
  // button face and button text), so a form holding a ui::Control& changes what is drawn.
  const std::string& caption() const { return p_.caption; }
  void setCaption(const std::string& c);
  int32_t buttonStyle() const { return p_.buttonStyle; }
  void setButtonStyle(int32_t style);
  int32_t picturePosition() const { return p_.picturePosition; }
  void setPicturePosition(int32_t position);
  // The current picture (the hover picture while hovered).
  const platform::PicturePtr& picture() const { return current_; }
  void setPicture(platform::PicturePtr picture);
  const platform::PicturePtr& pictureHover() const { return p_.pictureHover; }
  void setPictureHover(platform::PicturePtr picture);
  int32_t pictureWidth() const { return p_.pictureWidth; }
  void setPictureWidth(int32_t w);
  int32_t pictureHeight() const { return p_.pictureHeight; }
  void setPictureHeight(int32_t h);
  int32_t pictureSize() const { return p_.pictureSize; }
  void setPictureSize(int32_t size);
  // The pointer image: the custom MouseIcon, or the hand held by the control.
  const platform::PicturePtr& mouseIcon() const { return pointerImage_; }
  void setMouseIcon(platform::PicturePtr icon);
  int16_t mousePointer() const { return p_.mousePointer; }
  void setMousePointer(int16_t pointer);
  bool showFocusRect() const { return p_.showFocusRect; }
  void setShowFocusRect(bool on);
  const std::string& url() const { return p_.url; }
  void setURL(const std::string& url);
  Colour xpColorPressed() const { return p_.xpColorPressed; }
  void setXPColorPressed(Colour c);
  Colour xpColorHover() const { return p_.xpColorHover; }
  void setXPColorHover(Colour c);
  bool xpDefaultColors() const { return p_.xpDefaultColors; }
  void setXPDefaultColors(bool on);
  const std::string& soundOver() const { return p_.soundOver; }
  void setSoundOver(const std::string& path);
  const std::string& soundClick() const { return p_.soundClick; }
  void setSoundClick(const std::string& path);
  bool defCurHand() const { return p_.defCurHand; }
  void setDefCurHand(bool on);
  bool xpShowBorderAlways() const { return p_.xpShowBorderAlways; }
  void setXPShowBorderAlways(bool on);
  Colour maskColor() const { return p_.maskColor; }
  void setMaskColor(Colour c);
  bool transparentBG() const { return p_.transparentBG; }
  void setTransparentBG(bool on);
  int16_t bevel() const { return p_.bevel; }
  void setBevel(int16_t rings);
  int16_t bevelDepth() const { return p_.bevelDepth; }
  void setBevelDepth(int16_t depth);
  std::string version() const { return kVersion; }
  const ButtonProperties& properties() const { return p_; }

  // Repaints the whole control.
  void Refresh();
  // Opens URL: mail links through the shell, others through the container's navigation.
  void GoToURL();
  // What a user's click does (as a command button's click): Click, then GoToURL.
  void click();

  // Design-time settings, read and written in their fixed key order.
  void readProperties(const ui::PropertyBag& bag);
  void writeProperties(ui::PropertyBag& bag) const;

  // Input from the host. Positions are pixels within the control; button 1 left, 2 right,
  // 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
  void mouseDown(int button, int shift, float x, float y);
  void mouseDoubleClick();
  void mouseMove(int button, int shift, float x, float y);
  void mouseUp(int button, int shift, float x, float y);
  void keyDown(int keyCode, int shift);
  void keyPress(int keyAscii);
  void keyUp(int keyCode, int shift);
  void gotFocus();
  void lostFocus();
  // The containing window saw this control's access key.
  void accessKeyPressed();
  // The host saw the pointer leave (as a hover tick finding another window under it).
  void pointerLeft();

  // What a host shows and asks. Until the first ask the caption is neither measured nor drawn:
  // the buttons of a window never shown cost no text work.
  const platform::Raster& surface() const;
  // The surface for a screen of scale device pixels per pixel: the same drawing enlarged, its
  // caption drawn at that scale (sharp); scale 1 is surface().
  platform::Raster surfaceAt(int scale) const;
  // Where the window is; empty means the whole rectangle.
  const platform::ShapeMask& windowShape() const { return shape_; }
  // The lower-case access key, 0 when none.
  char accessKey() const { return accessKey_; }
  // The pointer is the hand held by the control.
  bool handPointer() const;
  ui::Timer& overTimer() { return overTimer_; }
  int pixelWidth() const { return width_; }
  int pixelHeight() const { return height_; }
  const ButtonFlags& flags() const { return flags_; }
  const ButtonRects& rects() const;
  const platform::PicturePtr& normalPicture() const { return normal_; }

  // Events, in the order the control declares them.
  ui::Event<> Click;
  ui::Event<int, int> KeyDown;  // KeyCode, Shift
  ui::Event<int> KeyPress;      // KeyAscii
  ui::Event<int, int> KeyUp;
  // MouseDown, MouseMove and MouseUp are the control's own (Button, Shift, X, Y in pixels).
  ui::Event<int> MouseIn;   // Shift
  ui::Event<int> MouseOut;  // Shift of the last mouse press
  // For hosts: the surface was repainted, the shape changed, the mouse should be captured.
  ui::Event<> Repainted;
  ui::Event<> ShapeChanged;
  ui::Event<> CaptureMouse;
  // A named property changed (what the container is told).
  ui::Event<const std::string&> PropertyNotified;

 private:
  PaintInput paintInput() const;
  void changed(const char* property);
  void onControlChanged(ui::Property which);
  void resize();
  void layout();
  void applyLayout() const;
  void paint() const;
  // Brings the rectangles and the pixels up to date; from then on each change applies at once.
  void settle() const;
  void applyPictureSize();
  void endHover();
  void OverTimer_Timer();
  bool inside(float x, float y) const;
  int twipsPerPixel() const;
  Colour resolve(Colour c) const;
  platform::Font ambientFont() const;

  ButtonServices services_;
  platform::ClassicSystemColours classic_;
  ButtonProperties p_;
  platform::PicturePtr current_;
  platform::PicturePtr normal_;
  platform::PicturePtr pointerImage_;
  platform::PicturePtr imgHAND_;
  ButtonFlags flags_;
  mutable ButtonRects rects_;
  MousePress last_;
  char accessKey_ = 0;
  int width_ = 0;
  int height_ = 0;
  mutable platform::Raster surface_;
  platform::ShapeMask shape_;
  ui::Timer overTimer_;
  bool loading_ = false;
  mutable bool asked_ = false;
  mutable bool layoutDue_ = true;
  mutable bool paintDue_ = true;
};

}  // namespace korvane::controls
