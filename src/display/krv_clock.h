// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skinned clock laid over the taskbar's clock: it covers that clock window, fits it to the
// skin and redraws the time once a second.
#include <optional>
#include <utility>

#include "display/display_services.h"
#include "display/skin_cells.h"
#include "display/skin_render.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/timer.h"
#include "platform/windows.h"

namespace korvane::display {

class KRV_Clock : public ui::Form {
 public:
  explicit KRV_Clock(DisplayServices services);

  // Controls.
  ui::PictureBox picSkin{"picSkin"};      // off-screen: the loaded skin
  ui::PictureBox picBuffer{"picBuffer"};  // off-screen: the clock composed before the copy
  ui::PictureBox picWindow{"picWindow"};  // the window's drawing surface, covering it
  ui::Timer tmrMainLoop{"tmrMainLoop", 1000};
  ui::Label TT_LBL{"TT_LBL"};  // transparent, covering the window: tooltip and double click

  // Handlers.
  void Form_Load();
  void Form_Paint();
  void Form_Unload(int& cancel);
  void HandleRepaint(bool runMainTick);
  void tmrMainLoop_Timer();
  void TT_LBL_DblClick();

  SkinKind skinKind() const { return kind_; }
  GlyphCell cell() const { return cell_; }
  // The window's background: black until a drawing finds the skin's.
  Colour background() const { return background_; }

 private:
  void layout();
  void wireEvents();
  void loadSkin();
  void placeOverClock();
  // Keeps where the clock window's top-left corner is on the screen now.
  void noteClockCorner();
  // Clears the window's surface to its background (shown with the next drawing).
  void clearSurface();
  // One drawing of the clock text into the window's surface, then one copy to the screen.
  void draw();

  DisplayServices services_;
  SkinKind kind_ = SkinKind::KRV;
  GlyphCell cell_;
  Colour background_ = 0;
  // The notification area and the clock window as they were at load; none without a clock.
  std::optional<platform::TaskbarClock> atLoad_;
  // The clock window's screen corner after the overlay last placed it.
  std::optional<std::pair<int, int>> clockCorner_;
};

}  // namespace korvane::display
