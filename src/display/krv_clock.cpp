// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/krv_clock.h"

#include "display/clock_skin.h"
#include "display/clock_text.h"
#include "display/overlay_geometry.h"
#include "display/skin_name.h"

namespace korvane::display {

namespace {

// The clock window's place inside the notification area, as the windows are now.
Rect clockInArea(const platform::TaskbarClock& taskbar) {
  const Rect& area = taskbar.notificationArea;
  const Rect& clock = taskbar.clock;
  return {clock.left - area.left, clock.top - area.top, clock.right - area.left,
          clock.bottom - area.top};
}

}  // namespace

KRV_Clock::KRV_Clock(DisplayServices services)
    : ui::Form(std::string(program::window::kTaskbarClock)), services_(services) {
  layout();
  wireEvents();
}

void KRV_Clock::wireEvents() {
  Load.connect([this] { Form_Load(); });
  Paint.connect([this] { Form_Paint(); });
  Unload.connect([this](int& cancel) { Form_Unload(cancel); });
  tmrMainLoop.Tick.connect([this] { tmrMainLoop_Timer(); });
  TT_LBL.DblClick.connect([this] { TT_LBL_DblClick(); });
}

void KRV_Clock::Form_Load() {
  loadSkin();
  if (!loaded()) return;  // closed while its message box was open
  placeOverClock();
  tmrMainLoop.setEnabled(true);
}

void KRV_Clock::loadSkin() {
  program::Settings& settings = services_.state.settings;
  if (settings.overlaySkin.empty()) settings.overlaySkin = kDefaultSkin;
  kind_ = SkinKindOf(settings.overlaySkin);
  platform::ImageLoad load =
      LoadClockSkin(services_.images, services_.windows, services_.files, settings.overlaySkin);
  if (!load.ok())
    services_.boxes.show(SkinLoadMessage(load), std::string(kSkinBoxTitle),
                         platform::MsgButtons::OK, platform::MsgIcon::None);
  picSkin.setPicture(std::move(load.image));
  // Without a skin nothing is drawn and the taskbar's clock keeps its size.
  if (picSkin.picture().empty())
    cell_ = {};
  else
    cell_ = kind_ == SkinKind::AMP ? kAmpCell : StripCell(picSkin.picture());
}

void KRV_Clock::placeOverClock() {
  platform::Windows& windows = services_.windows;
  atLoad_ = windows.findTaskbarClock();
  const Rect clock = atLoad_ ? atLoad_->clock : Rect{};
  const OverlayPlacement placement = InitialOverlayPlacement(
      kind_, cell_, atLoad_ ? atLoad_->notificationArea : Rect{}, clock, windows.twipsPerPixelX());
  const int tpp = windows.twipsPerPixelX();
  const int height = atLoad_ ? placement.overlay.height() : ClockWindowHeight(kind_, cell_);
  move(0, 0);
  setClientSize(placement.overlay.width() * tpp, height * tpp);
  picWindow.setGeometry({0, 0, clientWidth(), clientHeight()});
  TT_LBL.setGeometry({0, 0, clientWidth(), clientHeight()});
  if (!atLoad_) return;  // nothing to cover: the overlay stays where it is
  windows.adoptOverlay(*this);
  if (placement.clock) windows.moveTaskbarClock(*placement.clock);
  noteClockCorner();
}

void KRV_Clock::noteClockCorner() {
  const auto taskbar = services_.windows.findTaskbarClock();
  clockCorner_ =
      taskbar ? std::optional(std::pair{taskbar->clock.left, taskbar->clock.top}) : std::nullopt;
}

void KRV_Clock::Form_Paint() {
  if (tmrMainLoop.enabled()) HandleRepaint(true);
}

void KRV_Clock::HandleRepaint(bool runMainTick) {
  clearSurface();
  platform::Windows& windows = services_.windows;
  if (const auto taskbar = windows.findTaskbarClock(); taskbar && atLoad_ && !cell_.empty()) {
    const Rect now = clockInArea(*taskbar);
    const auto fitted = RefitClockWindow(kind_, cell_, taskbar->notificationArea, taskbar->clock);
    // A panel, a resolution or a primary screen that moved the clock's corner moves the
    // overlay along. Moving the clock repaints this window: only a real change may move it.
    const bool cornerMoved = clockCorner_ != std::pair{taskbar->clock.left, taskbar->clock.top};
    if ((fitted && *fitted != now) || cornerMoved) {
      windows.moveTaskbarClock(fitted.value_or(now));
      noteClockCorner();
    }
  }
  if (runMainTick)
    tmrMainLoop_Timer();
  else
    draw();
}

void KRV_Clock::tmrMainLoop_Timer() {
  const CivilDateTime now = platform::civilOf(services_.clock.localTime());
  TT_LBL.setToolTipText(OverlayTooltip(now, services_.locale));
  if (now.second == 0) {
    clearSurface();
    HandleRepaint(false);
  }
  draw();
}

void KRV_Clock::TT_LBL_DblClick() {
  services_.shell.openDateTimeSettings();  // a desktop without the settings says nothing
}

void KRV_Clock::Form_Unload(int& /*cancel*/) {
  tmrMainLoop.setEnabled(false);
  if (atLoad_)
    services_.windows.moveTaskbarClock(
        RestoredClockWindow(atLoad_->notificationArea, atLoad_->clock));
}

void KRV_Clock::clearSurface() {
  platform::Raster& surface = picWindow.picture();
  surface.fill({0, 0, surface.width(), surface.height()}, background_);
}

void KRV_Clock::draw() {
  const int tpp = services_.windows.twipsPerPixelX();
  const int width = clientWidth() / tpp;
  const int height = clientHeight() / tpp;
  OverlaySurface surface{std::move(picBuffer.picture()), std::move(picWindow.picture()),
                         background_};
  if (surface.window.width() != width || surface.window.height() != height)
    surface.window = platform::Raster(width, height, background_);
  const CivilDateTime now = platform::civilOf(services_.clock.localTime());
  const ClockTextFlags flags = ClockFlagsOf(services_.state.settings);
  if (kind_ == SkinKind::AMP)
    RenderAMP(picSkin.picture(), now, flags, services_.locale, surface);
  else
    RenderKRV(picSkin.picture(), now, flags, services_.locale, surface);
  picBuffer.picture() = std::move(surface.buffer);
  picWindow.picture() = std::move(surface.window);
  background_ = surface.background;
  picWindow.refresh();
}

}  // namespace korvane::display
