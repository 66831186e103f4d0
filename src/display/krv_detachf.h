// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating clock: a small window apart from the taskbar showing the time with a strip skin
// or as text in a font, dragged anywhere, with a menu of its settings, a synchronisation and
// closing.
#include <memory>
#include <string>

#include "display/display_services.h"
#include "display/skin_cells.h"
#include "platform/ui/form.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/timer.h"

namespace korvane::display {

// The style of the skinned clock; any other style shows text in a font.
inline constexpr std::string_view kSkinnedStyle = "KRV";

class KRV_DetachF : public ui::Form {
 public:
  explicit KRV_DetachF(DisplayServices services);

  // Controls.
  ui::ImageBox KRVIcon{"KRVIcon"};
  ui::PictureBox picDraw{"picDraw"};
  ui::PictureBox detachS{"detachS"};  // off-screen: the loaded skin
  ui::Label txtNow{"txtNow"};
  ui::Timer KRV_Detach{"KRV_Detach", 1000};
  ui::Menu mnuMain{"mnuMain", "Main"};
  ui::MenuItem mnuAdj{"mnuAdj", "Adjust Settings"}, mnuKRVS{"mnuKRVS", "KRV Synchronize"},
      mnuSep1{"mnuSep1", "-"}, mnuHelp{"mnuHelp", "Help"}, mnuSep2{"mnuSep2", "-"},
      mnuClose{"mnuClose", "Close Floating KRV Clock"};

  // Handlers.
  void Form_Load();
  void Form_Unload(int& cancel);
  void KRV_Detach_Timer();
  void RenderKRV();
  void putMeOnTop(ui::Form& form) { form.setTopmost(true); }
  void ShowPop() { popupMenu(mnuMain, &mnuAdj); }
  // Starts a drag of the window; what follows the drag runs once it ended.
  void Floating(int button);
  void picDraw_MouseDown(int button) { Floating(button); }
  void txtNow_MouseDown(int button) { Floating(button); }
  void KRVIcon_MouseDown(int button);
  void KRVIcon_DblClick() { unload(ui::kCloseFromCode); }
  void mnuAdj_Click();
  void mnuKRVS_Click() { services_.program.synchronise(); }
  void mnuHelp_Click() {}
  void mnuClose_Click() { unload(ui::kCloseFromCode); }

  const std::string& style() const { return style_; }
  GlyphCell cell() const { return cell_; }
  Colour background() const { return background_; }

 private:
  void layout();
  void wireEvents();
  bool skinned() const { return style_ == kSkinnedStyle; }
  void loadFontStyle();
  void loadSkinStyle();
  // The date and time the font style shows.
  std::string nowCaption() const;
  // The label's size for its caption, where the desktop can measure text.
  void fitLabel();
  void placeAtStart();
  void sizeWindow(int width, int height);
  // The primary screen's right edge in twips: where a clock never placed opens.
  int primaryRight() const;

  DisplayServices services_;
  std::string style_;
  GlyphCell cell_;
  Colour background_ = 0;
  // Lets a drag that ends after the window is gone find out.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace korvane::display
