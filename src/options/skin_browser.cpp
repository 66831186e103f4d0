// SPDX-License-Identifier: GPL-3.0-or-later
// The skin browser of the options dialog: the list of skins, their image and a preview of the
// time drawn with them, and the taskbar clock's skin switched on, off or to another skin.
#include <algorithm>

#include "common/text.h"
#include "display/skin_name.h"
#include "display/skin_render.h"
#include "options/krv_config.h"

namespace korvane::options {

namespace {

// The message of a failed load: its number and what the number means.
std::string loadFault(int error) {
  return std::to_string(error) + ": " + platform::imageErrorDescription(error);
}

}  // namespace

void KRV_Config::LoadKRVSkins() {
  const std::string folder = display::SkinsFolder(d_.files.programFolder());
  // A name the skin rules refuse is never offered.
  for (const std::string& entry : display::ListSkinEntries(d_.files, true, kWinampSuffix))
    if (display::ResolveSkinName(entry)) SkinCmb.addItem(entry);

  const std::string selected =
      settings_.overlaySkin.empty() ? std::string(display::kDefaultSkin) : settings_.overlaySkin;
  SkinCmb.setText(selected);
  // A stored name that differs from a listed one only in case loads by the listed (real) name.
  const auto& items = SkinCmb.items();
  const auto real = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
    return text::toLower(item) == text::toLower(selected);
  });
  const int error = showSkinImage(real == items.end() ? selected : *real);
  if (error != platform::kImageLoaded)
    d_.boxes.show("curskin: " + loadFault(error) + ": " + folder + selected,
                  std::string(program::kMessageTitle), platform::MsgButtons::OK,
                  platform::MsgIcon::None);
}

int KRV_Config::showSkinImage(const std::string& entry) {
  platform::ImageLoad load = display::LoadSkinImage(d_.images, d_.files, entry);
  if (!load.ok()) return load.error;
  const bool winamp = display::SkinKindOf(entry) == display::SkinKind::AMP;
  // A strip wider than the box's design would run past the frame: it is shown cut there.
  const bool fits = load.image.width() * PreViewSkin.twipsPerPixel() <= kPreViewSkinDesign.width;
  PreViewSkin.setAutoSize(!winamp && fits);
  if (winamp || !fits) PreViewSkin.setGeometry(kPreViewSkinDesign);
  PreViewSkin.setPicture(std::move(load.image));
  previewedEntry_ = entry;
  return platform::kImageLoaded;
}

void KRV_Config::SkinCmb_Click() {
  const int error = showSkinImage(SkinCmb.text());
  if (error != platform::kImageLoaded) {
    // "Use Skin" would apply a skin the overlay cannot draw.
    ChangeSkin.setEnabled(false);
    d_.boxes.show(loadFault(error), std::string(program::kMessageTitle), platform::MsgButtons::OK,
                  platform::MsgIcon::None);
    return;
  }
  ChangeSkin.setEnabled(true);
}

void KRV_Config::clearPreview() {
  platform::Raster& picture = PreViewPic.picture();
  if (picture.width() != PreViewPic.scaleWidth() || picture.height() != PreViewPic.scaleHeight())
    picture = platform::Raster(PreViewPic.scaleWidth(), PreViewPic.scaleHeight(), previewBack_);
  else
    picture.fill({0, 0, picture.width(), picture.height()}, previewBack_);
}

void KRV_Config::PClockSkin_Click() {
  const CivilDateTime now = platform::civilOf(d_.clock.localTime());  // one reading
  const display::ClockTextFlags flags = display::ClockFlagsOf(settings_);
  clearPreview();
  if (display::SkinKindOf(previewedEntry_) == display::SkinKind::AMP)
    RenderAMPPV(now, flags);
  else
    RenderKRVPV(now, flags);
  PreViewPic.refresh();
}

void KRV_Config::RenderKRVPV(const CivilDateTime& now, const display::ClockTextFlags& flags) {
  const platform::Raster& skin = PreViewSkin.picture();
  const std::string text = display::WithoutMarks(
      display::FormatClockText(now, flags, display::SkinKind::KRV, d_.locale));
  display::DrawStripClock(skin, display::StripCell(skin), text, display::MarkCellFor(now, flags),
                          PreViewPic.picture());
}

void KRV_Config::RenderAMPPV(const CivilDateTime& now, const display::ClockTextFlags& flags) {
  const platform::Raster& font = PreViewSkin.picture();
  if (const auto back = display::SkinPixel(font, 145, 7)) {
    previewBack_ = *back;
    clearPreview();
  }
  display::DrawAmpLines(font, display::AmpClockLines(now, flags, d_.locale), PreViewPic.picture());
}

void KRV_Config::ChangeSkin_Click() {
  // Only an entry of the list is applied: a typed name may name no skin at all.
  const std::optional<std::string> chosen = listedSkin();
  if (chosen && *chosen != settings_.overlaySkin && settings_.clockOverlay) {
    changed = true;
    const platform::MsgResult answer =
        d_.boxes.show("Implement New KRV Clock Skin Now?", std::string(program::kMessageTitle),
                      platform::MsgButtons::YesNo, platform::MsgIcon::Information);
    if (answer != platform::MsgResult::Yes || !loaded()) return;
    d_.program.unloadWindow(program::window::kTaskbarClock);
    d_.events.doEvents();
    if (!loaded()) return;  // closed while the events ran
    settings_.overlaySkin = *chosen;
    d_.program.showWindow(program::window::kTaskbarClock);
    ChangeSkin.setEnabled(false);
  } else if (!settings_.clockOverlay) {
    d_.boxes.show("You must enable KRV Clock Skins first...", std::string(program::kMessageTitle),
                  platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
  }
}

void KRV_Config::eWCS_Click() {
  if (eWCS.ticked()) {
    settings_.clockOverlay = true;
    if (!taskbarClockVisible()) d_.program.showWindow(program::window::kTaskbarClock);
  } else if (settings_.clockOverlay) {
    if (taskbarClockVisible()) d_.program.unloadWindow(program::window::kTaskbarClock);
    settings_.clockOverlay = false;
  }
  changed = true;
}

bool KRV_Config::taskbarClockVisible() const {
  const ui::Form* clock = d_.program.loadedWindow(program::window::kTaskbarClock);
  return clock && clock->visible();
}

std::optional<std::string> KRV_Config::listedSkin() const {
  const auto& items = SkinCmb.items();
  if (std::find(items.begin(), items.end(), SkinCmb.text()) == items.end()) return std::nullopt;
  return SkinCmb.text();
}

}  // namespace korvane::options
