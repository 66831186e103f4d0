// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/krv_detachf.h"

#include "display/clock_skin.h"
#include "display/clock_text.h"
#include "display/floating_geometry.h"
#include "display/floating_look.h"
#include "display/krv_layered.h"
#include "display/skin_name.h"
#include "display/skin_render.h"

namespace korvane::display {

namespace {
// The window's design top, where a clock never placed opens.
constexpr int kDesignTop = 15;

Rect rectOf(const ui::TwipsRect& r) {
  return {r.left, r.top, r.left + r.width, r.top + r.height};
}
}  // namespace

KRV_DetachF::KRV_DetachF(DisplayServices services)
    : ui::Form(std::string(program::window::kFloatingClock)), services_(services) {
  layout();
  wireEvents();
}

void KRV_DetachF::wireEvents() {
  Load.connect([this] { Form_Load(); });
  Unload.connect([this](int& cancel) { Form_Unload(cancel); });
  KRV_Detach.Tick.connect([this] { KRV_Detach_Timer(); });
  picDraw.MouseDown.connect([this](int button, int, double, double) { picDraw_MouseDown(button); });
  txtNow.MouseDown.connect([this](int button, int, double, double) { txtNow_MouseDown(button); });
  KRVIcon.MouseDown.connect([this](int button, int, double, double) { KRVIcon_MouseDown(button); });
  KRVIcon.DblClick.connect([this] { KRVIcon_DblClick(); });
  mnuAdj.Click.connect([this] { mnuAdj_Click(); });
  mnuKRVS.Click.connect([this] { mnuKRVS_Click(); });
  mnuHelp.Click.connect([this] { mnuHelp_Click(); });
  mnuClose.Click.connect([this] { mnuClose_Click(); });
}

void KRV_DetachF::Form_Load() {
  hide();
  const program::Settings& settings = services_.state.settings;
  style_ = settings.floatingStyle;
  if (skinned())
    loadSkinStyle();
  else
    loadFontStyle();
  if (!loaded()) return;  // closed while its message box was open
  if (settings.layeredCapable) SetTranslucency(*this, services_.windows, true, settings.opacity);
  placeAtStart();
  show();
  if (settings.floatingOnTop) putMeOnTop(*this);
}

void KRV_DetachF::loadFontStyle() {
  const program::Settings& s = services_.state.settings;
  picDraw.setVisible(false);
  detachS.setVisible(false);
  txtNow.setCaption(nowCaption());
  const FloatingLook look = FloatingLookOf(s);
  txtNow.setFont(look.font);
  txtNow.setBackColor(look.back);
  txtNow.setForeColor(look.text);
  setBackColor(look.back);
  fitLabel();
  if (const auto size = FontFloatingSize(rectOf(txtNow.geometry()), clientHeight()))
    sizeWindow(size->width, size->height);
}

void KRV_DetachF::loadSkinStyle() {
  program::Settings& s = services_.state.settings;
  txtNow.setVisible(false);
  if (s.floatingSkin.empty()) s.floatingSkin = kDefaultSkin;
  platform::ImageLoad load =
      LoadClockSkin(services_.images, services_.windows, services_.files, s.floatingSkin);
  if (!load.ok())
    services_.boxes.show("error loading image", std::string(kSkinBoxTitle),
                         platform::MsgButtons::OK, platform::MsgIcon::None);
  detachS.setPicture(std::move(load.image));
  cell_ = StripCell(detachS.picture());
  RenderKRV();
}

std::string KRV_DetachF::nowCaption() const {
  const CivilDateTime now = platform::civilOf(services_.clock.localTime());
  return services_.locale.longDate(now) + " " + services_.locale.longTime(now) + " ";
}

void KRV_DetachF::fitLabel() {
  const platform::TextRenderer* text = services_.buttons.text;
  if (!text) return;  // the host sizes the label to its caption
  const platform::TextSize size = text->measure(txtNow.caption(), txtNow.font(), 1 << 20, {0, 0});
  const int tpp = services_.windows.twipsPerPixelX();
  ui::TwipsRect g = txtNow.geometry();
  g.width = size.width * tpp;
  g.height = size.height * services_.windows.twipsPerPixelY();
  txtNow.setGeometry(g);
}

void KRV_DetachF::RenderKRV() {
  const program::Settings& s = services_.state.settings;
  const CivilDateTime now = platform::civilOf(services_.clock.localTime());
  const int cells = RenderFloatingKRV(detachS.picture(), now, ClockFlagsOf(s), services_.locale,
                                      background_, picDraw.picture());
  picDraw.setBackColor(background_);
  setBackColor(background_);
  const int tpp = services_.windows.twipsPerPixelX();
  const FloatingSize size =
      SkinnedFloatingSize(cells, cell_, picDraw.geometry().left, rectOf(KRVIcon.geometry()), tpp);
  ui::TwipsRect g = picDraw.geometry();
  g.width = size.drawWidth;
  g.height = size.drawHeight;
  picDraw.setGeometry(g);
  picDraw.refresh();
  sizeWindow(size.windowWidth, size.windowHeight);
}

void KRV_DetachF::KRV_Detach_Timer() {
  if (skinned())
    RenderKRV();
  else
    txtNow.setCaption(nowCaption());
  const ui::TwipsRect b = bounds();
  const Rect screen = rectOf(ScreenOf(b, services_.windows.screensTwips()));
  if (const auto left = DockedFloatingLeft({b.left, b.top}, b.width, screen)) move(*left, b.top);
}

void KRV_DetachF::Floating(int button) {
  if (windowState() == ui::WindowState::Minimized) return;
  std::weak_ptr<bool> alive = alive_;
  services_.windows.beginSystemMove(*this, button, [this, alive, button] {
    if (alive.expired() || !loaded()) return;
    KeepOnScreen(*this, services_.windows);
    if (button == ui::kRightButton) ShowPop();
  });
}

void KRV_DetachF::KRVIcon_MouseDown(int button) {
  if (button == ui::kRightButton) ShowPop();
}

void KRV_DetachF::mnuAdj_Click() {
  services_.program.showWindow(program::window::kFloatingSettings);
}

void KRV_DetachF::Form_Unload(int& /*cancel*/) {
  KRV_Detach.setEnabled(false);
  program::Settings& s = services_.state.settings;
  const ui::TwipsRect b = bounds();
  const auto moved = MovedFloatingPosition({b.left, b.top}, services_.windows.twipsPerPixelX(),
                                           s.floatingX, s.floatingY);
  if (!moved) return;
  s.floatingX = moved->left;
  s.floatingY = moved->top;
  services_.state.saveFloatingPosition();
}

void KRV_DetachF::placeAtStart() {
  const program::Settings& s = services_.state.settings;
  const Position start = FloatingStartPosition(s.floatingX, s.floatingY, bounds().width, kDesignTop,
                                               primaryRight(), services_.windows.twipsPerPixelX());
  move(start.left, start.top);
  // A place saved on a screen that is gone comes back onto one present.
  KeepOnScreen(*this, services_.windows);
}

void KRV_DetachF::sizeWindow(int width, int height) {
  if (clientWidth() != width || clientHeight() != height) setClientSize(width, height);
}

int KRV_DetachF::primaryRight() const {
  const std::vector<ui::TwipsRect> screens = services_.windows.screensTwips();
  if (screens.empty()) return services_.windows.screenWidthTwips();
  return screens.front().left + screens.front().width;
}

}  // namespace korvane::display
