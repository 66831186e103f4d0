// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every button style in every state, with and without pictures, into one PNG.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/nxo_buttons.h"
#include "platform/fake/fake_pointer_probe.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/system_colours.h"

namespace {

using korvane::Colour;
using korvane::makeColour;
using korvane::controls::NXOButtons;
namespace platform = korvane::platform;

constexpr int kCellW = 132;
constexpr int kCellH = 76;
constexpr int kLabelW = 150;
constexpr int kHeaderH = 22;
const QColor kFormColour(212, 208, 200);

// A clock face on black (black is the default mask colour, so it drops out).
platform::PicturePtr clockBitmap() {
  auto pic = std::make_shared<platform::Picture>();
  pic->kind = platform::Picture::Kind::Bitmap;
  pic->image = platform::Raster(24, 24, 0);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const int dx = 2 * x - 23;
      const int dy = 2 * y - 23;
      const int d2 = dx * dx + dy * dy;
      if (d2 <= 22 * 22) pic->image.setPixel(x, y, makeColour(40, 90, 200));
      if (d2 <= 18 * 18) pic->image.setPixel(x, y, makeColour(255, 255, 255));
    }
  pic->image.line(12, 12, 12, 5, makeColour(20, 20, 20));
  pic->image.line(12, 12, 18, 12, makeColour(200, 30, 30));
  return pic;
}

// A green diamond icon with its own transparency.
platform::PicturePtr diamondIcon() {
  auto pic = std::make_shared<platform::Picture>();
  pic->kind = platform::Picture::Kind::Icon;
  pic->image = platform::Raster(16, 16, makeColour(255, 0, 255));
  pic->opaque = platform::ShapeMask(16, 16, false);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (std::abs(2 * x - 15) + std::abs(2 * y - 15) <= 15) {
        pic->image.setPixel(x, y, makeColour(30, 150 + 6 * y, 60));
        pic->opaque.set(x, y, true);
      }
  return pic;
}

struct Services {
  platform::QtTextRenderer text;
  platform::ClassicSystemColours colours;
  platform::FakePointerProbe pointer;
};

struct Variant {
  std::string label;
  int width;
  int height;
  std::function<void(NXOButtons&)> setUp;
};

struct State {
  std::string label;
  std::function<void(NXOButtons&)> apply;
};

void blit(QImage& sheet, const NXOButtons& b, int x, int y) {
  const platform::Raster& s = b.surface();
  const platform::ShapeMask& shape = b.windowShape();
  for (int py = 0; py < s.height(); ++py)
    for (int px = 0; px < s.width(); ++px) {
      if (!shape.empty() && !shape.contains(px, py)) continue;
      sheet.setPixel(x + px, y + py, s.bits()[py * s.width() + px]);
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const char* out = argc > 1 ? argv[1] : "button-gallery.png";
  Services services;
  const auto bitmap = clockBitmap();
  const auto icon = diamondIcon();

  std::vector<Variant> variants;
  for (int style = 0; style <= 4; ++style) {
    const std::string s = "style " + std::to_string(style);
    variants.push_back({s, 88, 25, [](NXOButtons&) {}});
    variants.push_back({s + ", picture left", 120, 40, [bitmap](NXOButtons& b) {
                          b.setPictureSize(2);
                          b.setPicture(bitmap);
                        }});
    variants.push_back({s + ", picture above", 88, 64, [bitmap](NXOButtons& b) {
                          b.setPictureSize(2);
                          b.setPicture(bitmap);
                          b.setPicturePosition(0);
                        }});
    variants.push_back({s + ", picture right", 120, 40, [icon](NXOButtons& b) {
                          b.setPictureSize(2);
                          b.setPicture(icon);
                          b.setPicturePosition(2);
                        }});
    variants.push_back({s + ", picture below", 88, 64, [icon](NXOButtons& b) {
                          b.setPictureSize(2);
                          b.setPicture(icon);
                          b.setPicturePosition(3);
                        }});
  }
  variants.push_back({"style 0, BEVEL 3", 88, 30, [](NXOButtons& b) {
                        b.setButtonStyle(0);
                        b.setBevel(3);
                      }});
  variants.push_back({"style 3, wrapped", 88, 40, [](NXOButtons& b) {
                        b.setButtonStyle(3);
                        b.setCaption("Set the &clock now");
                      }});

  const std::vector<State> states = {
      {"normal", [](NXOButtons&) {}},
      {"hover", [](NXOButtons& b) { b.mouseMove(0, 0, 5, 5); }},
      {"pressed",
       [](NXOButtons& b) {
         b.mouseMove(0, 0, 5, 5);
         b.mouseDown(1, 0, 5, 5);
       }},
      {"pressed outside",
       [](NXOButtons& b) {
         b.mouseMove(0, 0, 5, 5);
         b.mouseDown(1, 0, 5, 5);
         b.mouseMove(1, 0, -20, 5);
         b.overTimer().tick();  // the probe finds no button under the pointer
       }},
      {"focus", [](NXOButtons& b) { b.gotFocus(); }},
      {"disabled", [](NXOButtons& b) { b.setEnabled(false); }},
  };

  QImage sheet(kLabelW + kCellW * static_cast<int>(states.size()),
               kHeaderH + kCellH * static_cast<int>(variants.size()), QImage::Format_RGB32);
  sheet.fill(kFormColour);
  QPainter labels(&sheet);
  labels.setFont(platform::toRasterQFont({"Arial", 8}));
  for (size_t c = 0; c < states.size(); ++c)
    labels.drawText(kLabelW + static_cast<int>(c) * kCellW + 4, 15,
                    QString::fromStdString(states[c].label));
  labels.end();

  for (size_t r = 0; r < variants.size(); ++r) {
    const Variant& v = variants[r];
    for (size_t c = 0; c < states.size(); ++c) {
      korvane::controls::ButtonServices env;
      env.text = &services.text;
      env.colours = &services.colours;
      env.pointer = &services.pointer;
      NXOButtons b("&Synchronize", env);
      const int style = static_cast<int>(r / 5) <= 4 ? static_cast<int>(r / 5) : 0;
      b.setButtonStyle(style);
      b.setGeometry({0, 0, v.width * 15, v.height * 15});
      v.setUp(b);
      states[c].apply(b);
      blit(sheet, b, kLabelW + static_cast<int>(c) * kCellW + 8,
           kHeaderH + static_cast<int>(r) * kCellH + 6);
    }
    QPainter p(&sheet);
    p.setFont(platform::toRasterQFont({"Arial", 8}));
    p.drawText(6, kHeaderH + static_cast<int>(r) * kCellH + 20, QString::fromStdString(v.label));
  }
  if (!sheet.save(QString::fromLocal8Bit(out), "PNG")) {
    std::fprintf(stderr, "button-gallery: cannot write %s\n", out);
    return 1;
  }
  std::printf("%s\n", out);
  return 0;
}
