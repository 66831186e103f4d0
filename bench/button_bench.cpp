// SPDX-License-Identifier: GPL-3.0-or-later
// One full repaint of an 88 x 25 style-3 button with a caption, and the hover timer's tick.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "controls/nxo_buttons.h"
#include "platform/fake/fake_pointer_probe.h"
#include "platform/fake/fake_text_renderer.h"
#include "platform/qt/qt_text_renderer.h"
#include "platform/system_colours.h"

namespace {

using korvane::controls::ButtonServices;
using korvane::controls::NXOButtons;
namespace platform = korvane::platform;

struct Setup {
  platform::ClassicSystemColours colours;
  platform::FakePointerProbe pointer;
  std::unique_ptr<NXOButtons> button;

  explicit Setup(const platform::TextRenderer& text) {
    ButtonServices s;
    s.text = &text;
    s.colours = &colours;
    s.pointer = &pointer;
    button = std::make_unique<NXOButtons>("cmdSync", s);
    button->setButtonStyle(3);
    button->setCaption("&Synchronize");
    button->setFont({"Arial", 8});
    button->setGeometry({0, 0, 88 * 15, 25 * 15});
  }
};

void repaint(benchmark::State& state, const platform::TextRenderer& text) {
  Setup s(text);
  for (auto _ : state) {
    s.button->Refresh();
    benchmark::DoNotOptimize(s.button->surface().bits());
  }
}

void BM_Style3Repaint_FakeText(benchmark::State& state) {
  platform::FakeTextRenderer text;
  repaint(state, text);
}
BENCHMARK(BM_Style3Repaint_FakeText)->Unit(benchmark::kMicrosecond);

void BM_Style3Repaint_QtText(benchmark::State& state) {
  platform::QtTextRenderer text;
  repaint(state, text);
}
BENCHMARK(BM_Style3Repaint_QtText)->Unit(benchmark::kMicrosecond);

// The tick while the pointer stays over the button: no state change, no repaint.
void BM_HoverTick_StillOver(benchmark::State& state) {
  platform::FakeTextRenderer text;
  Setup s(text);
  s.pointer.over = s.button.get();
  s.button->mouseMove(0, 0, 5, 5);
  for (auto _ : state) s.button->overTimer().tick();
}
BENCHMARK(BM_HoverTick_StillOver);

// A tick that finds the pointer gone (MouseOut and a repaint), then the pointer's return.
void BM_HoverTick_LeaveAndReturn(benchmark::State& state) {
  platform::QtTextRenderer text;
  Setup s(text);
  for (auto _ : state) {
    s.button->mouseMove(0, 0, 5, 5);
    s.button->overTimer().tick();
  }
}
BENCHMARK(BM_HoverTick_LeaveAndReturn)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
