// SPDX-License-Identifier: GPL-3.0-or-later
// One form with every kind of control the Qt host binds: option buttons in two groups, a
// slider, a picture box with a drawn raster and a transparent label over it, a label sized to
// its caption, a check box, a combo box, a text box, a stretched image and the program's own
// button. Usage: form-gallery [seconds] (closes by itself after that many seconds).
#include <QApplication>
#include <QFont>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/button_binding.h"
#include "controls/nxo_buttons.h"
#include "platform/qt/form_host.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_pointer_probe.h"
#include "platform/qt/qt_system_colours.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_box.h"

namespace {

using korvane::makeColour;
namespace platform = korvane::platform;
namespace ui = korvane::ui;

// A dusk sky with a sun and a horizon, drawn pixel by pixel.
platform::Raster skyline(int width, int height) {
  platform::Raster r(width, height);
  for (int y = 0; y < height; ++y)
    r.fill({0, y, width, y + 1}, makeColour(20 + y * 2, 30 + y, 120 - y / 2));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (std::hypot(x - width * 0.7, y - height * 0.55) < height * 0.22)
        r.setPixel(x, y, makeColour(255, 200, 60));
  r.fill({0, height * 3 / 4, width, height}, makeColour(30, 60, 30));
  r.line(0, height * 3 / 4, width, height * 3 / 4, makeColour(230, 230, 230));
  r.frame({0, 0, width, height}, makeColour(0, 0, 0));
  return r;
}

struct Gallery : ui::Form {
  explicit Gallery(const korvane::controls::ButtonServices& services)
      : ui::Form("Gallery"), button("cmdSync", services) {
    setCaption("Control gallery");
    setClientSize(7200, 4350);
    int y = 150;
    for (ui::OptionButton* o : {&time, &daytime, &sntp}) {
      o->setGeometry({150, y, 1800, 300});
      add(*o);
      y += 330;
    }
    time.setCaption("Time");
    daytime.setCaption("DayTime");
    sntp.setCaption("SNTP");
    sntp.setValue(true);
    units.setGeometry({2100, 90, 2100, 1110});
    units.setCaption("Interval");
    add(units);
    seconds.setCaption("Seconds");
    minutes.setCaption("Minutes");
    seconds.setGeometry({150, 330, 1800, 300});
    minutes.setGeometry({150, 690, 1800, 300});
    minutes.setValue(true);
    add(seconds, &units);
    add(minutes, &units);

    opacity.setGeometry({150, 1350, 4050, 450});
    opacity.setRange(0, 20);
    opacity.setLargeChange(5);
    opacity.setTickFrequency(2);
    opacity.setValue(14);
    add(opacity);

    face.setGeometry({4350, 150, 2700, 1800});
    face.setAutoSize(true);  // the box is its picture, one device pixel per raster pixel
    face.setPicture(skyline(180, 120));
    add(face);
    overlay.setGeometry({150, 150, 1500, 300});
    overlay.setTransparent(true);
    overlay.setForeColor(0xffffff);
    overlay.setFont({"Arial", 12, true});
    overlay.setCaption("12:34:56");
    add(overlay, &face);

    fitted.setGeometry({150, 2100, 300, 300});
    fitted.setAutoSize(true);
    fitted.setCaption("A label sized to its caption");
    add(fitted);
    random.setGeometry({150, 2550, 3000, 300});
    random.setCaption("Random server");
    random.setValue(1);
    add(random);
    interval.setGeometry({150, 3000, 1500, 345});
    for (const char* unit : {"Second/s", "Minute/s", "Hour/s"}) interval.addItem(unit);
    interval.setText("Minute/s");
    interval.setListOnly(true);
    add(interval);
    count.setGeometry({1800, 3000, 900, 345});
    count.setText("15");
    add(count);
    logo.setGeometry({4350, 2100, 720, 720});
    logo.setFile("images/korvane-16.png");  // stretched three times
    logo.setStretch(true);
    add(logo);
    plain.setGeometry({5250, 2100, 240, 240});
    plain.setFile("images/korvane-32.png");
    add(plain);
    button.setGeometry({4350, 3450, 2100, 450});
    button.setCaption("&Synchronise now");
    button.setButtonStyle(0);
    add(button);
  }

  ui::OptionButton time{"optTime"}, daytime{"optDayTime"}, sntp{"optSntp"};
  ui::Frame units{"fraUnits"};
  ui::OptionButton seconds{"optSeconds"}, minutes{"optMinutes"};
  ui::Slider opacity{"sldOpacity"};
  ui::PictureBox face{"picFace"};
  ui::Label overlay{"lblTime"};
  ui::Label fitted{"lblFitted"};
  ui::CheckBox random{"chkRandom"};
  ui::ComboBox interval{"cboInterval"};
  ui::TextBox count{"txtCount"};
  ui::ImageBox logo{"imgLogo"}, plain{"imgPlain"};
  korvane::controls::NXOButtons button;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  platform::QtEventLoop events;
  platform::QtTextRenderer text;
  platform::QtSystemColours colours;
  platform::QtPointerProbe pointer;
  Gallery form({&text, &colours, nullptr, &pointer, &events, nullptr});
  platform::ControlBindings bindings = platform::ControlBindings::standard();
  korvane::app::addButtonBinding(bindings);
  platform::FormHost host(form, KORVANE_DATA_DIR, bindings, &colours);
  form.load();
  form.show();
  form.move(300, 300);
  if (argc > 1) QTimer::singleShot(std::atoi(argv[1]) * 1000, &app, &QApplication::quit);
  return app.exec();
}
