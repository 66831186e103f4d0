// SPDX-License-Identifier: GPL-3.0-or-later
// One drawing of each skinned clock with the shipped skins: the clock text, the compose into the
// off-screen buffer and the copy to the window's surface, as the one-second ticks run them.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "display/display_fakes.h"
#include "display/floating_geometry.h"
#include "display/krv_clock.h"
#include "display/krv_detachf.h"
#include "display/recording_program.h"
#include "display/skin_render.h"
#include "platform/fake/fake_locale.h"
#include "platform/qt/qt_images.h"

namespace {

namespace display = korvane::display;
namespace platform = korvane::platform;

platform::Raster skin(const std::string& file) {
  platform::ImageLoad load = platform::QtImages().load(KORVANE_BENCH_DATA_DIR "/Skins/" + file);
  if (!load.ok()) std::abort();
  return load.image;
}

// The reading changes every iteration, as it does every second.
korvane::CivilDateTime reading(int64_t i) {
  return {2026,
          12,
          7,
          static_cast<int>(i / 3600 % 24),
          static_cast<int>(i / 60 % 60),
          static_cast<int>(i % 60),
          0};
}

void overlayStrip(benchmark::State& state) {
  const platform::Raster image = skin("KRV_Default Skin.gif");
  const platform::FakeLocale locale;
  display::OverlaySurface surface{{}, platform::Raster(150, 18), 0};
  int64_t i = 0;
  for (auto _ : state) {
    const korvane::Rect area =
        display::RenderKRV(image, reading(++i), {false, true, true}, locale, surface);
    benchmark::DoNotOptimize(area);
    benchmark::DoNotOptimize(surface.window.bits());
  }
}
BENCHMARK(overlayStrip);

void overlayFont(benchmark::State& state) {
  const platform::Raster image = skin("Korvane Green LCD/text.bmp");
  const platform::FakeLocale locale;
  display::OverlaySurface surface{{}, platform::Raster(125, 19), 0};
  int64_t i = 0;
  for (auto _ : state) {
    const korvane::Rect area =
        display::RenderAMP(image, reading(++i), {false, true, true}, locale, surface);
    benchmark::DoNotOptimize(area);
    benchmark::DoNotOptimize(surface.window.bits());
  }
}
BENCHMARK(overlayFont);

// The floating clock's tick: the background pixel, the compose into its picture and its size.
void floatingStrip(benchmark::State& state) {
  const platform::Raster image = skin("KRV_Blue Dots.gif");
  const display::GlyphCell cell = display::StripCell(image);
  const platform::FakeLocale locale;
  platform::Raster picture;
  korvane::Colour back = 0;
  int64_t i = 0;
  for (auto _ : state) {
    const int cells =
        display::RenderFloatingKRV(image, reading(++i), {false, true, true}, locale, back, picture);
    benchmark::DoNotOptimize(display::SkinnedFloatingSize(cells, cell, 315, {0, 0, 240, 240}, 15));
    benchmark::DoNotOptimize(picture.bits());
  }
}
BENCHMARK(floatingStrip);

// The windows' own ticks on a stand-in desktop: the reading, the tooltip or the size, the drawing
// and the one copy to the window's surface.
struct ClockWindows : display::testing::DisplayFakes<> {
  ClockWindows() : DisplayFakes(1796634358000LL) {
    images.add("/opt/korvane/Skins/KRV_Default Skin.gif", skin("KRV_Default Skin.gif"));
    windows.taskbarClock =
        platform::TaskbarClock{{900, 748, 1024, 768}, {960, 748, 1024, 768}, true};
    state.settings.floatingStyle = "KRV";
    state.settings.clockSeconds = state.settings.clockAmPm = true;
  }
  display::testing::RecordingProgram program;
};

template <class Window>
void windowTick(benchmark::State& state, korvane::ui::Timer Window::*timer) {
  ClockWindows c;
  Window w(c.servicesFor(c.program));
  w.load();
  w.Paint();
  for (auto _ : state) {
    c.clock.advance(1000);
    (w.*timer).tick();
  }
}

void overlayWindowTick(benchmark::State& state) {
  windowTick(state, &display::KRV_Clock::tmrMainLoop);
}
BENCHMARK(overlayWindowTick);

void floatingWindowTick(benchmark::State& state) {
  windowTick(state, &display::KRV_DetachF::KRV_Detach);
}
BENCHMARK(floatingWindowTick);

}  // namespace

BENCHMARK_MAIN();
