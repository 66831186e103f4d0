// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A button on the fakes: fixed-width text, the classic colours, recorded links, a pointer
// probe and an event log.
#include <memory>
#include <string>
#include <vector>

#include "controls/nxo_buttons.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_pointer_probe.h"
#include "platform/fake/fake_shell_open.h"
#include "platform/fake/fake_text_renderer.h"
#include "platform/system_colours.h"

namespace korvane::controls {

struct ButtonFixture {
  platform::FakeTextRenderer text;
  platform::ClassicSystemColours colours;
  platform::RecordingShellOpen shell;
  platform::FakePointerProbe pointer;
  platform::FakeEventLoop events;

  ButtonServices services() {
    ButtonServices s;
    s.text = &text;
    s.colours = &colours;
    s.shell = &shell;
    s.pointer = &pointer;
    s.events = &events;
    return s;
  }

  // A button of width x height pixels in the given style.
  std::unique_ptr<NXOButtons> make(int style, int width, int height,
                                   const std::string& caption = "") {
    auto b = std::make_unique<NXOButtons>("Command1", services());
    b->setButtonStyle(style);
    b->setCaption(caption);
    b->setGeometry({0, 0, width * 15, height * 15});
    return b;
  }
};

// Every event of a button, in order, as short words.
struct EventLog {
  std::vector<std::string> all;

  void attach(NXOButtons& b) {
    b.Click.connect([this] { all.push_back("Click"); });
    b.KeyDown.connect([this](int k, int) { all.push_back("KeyDown " + std::to_string(k)); });
    b.KeyPress.connect([this](int k) { all.push_back("KeyPress " + std::to_string(k)); });
    b.KeyUp.connect([this](int k, int) { all.push_back("KeyUp " + std::to_string(k)); });
    b.MouseDown.connect([this](int bt, int, double, double) { add("MouseDown", bt); });
    b.MouseMove.connect([this](int, int, double, double) { all.push_back("MouseMove"); });
    b.MouseUp.connect([this](int bt, int, double x, double y) {
      all.push_back("MouseUp " + std::to_string(bt) + " at " + std::to_string(int(x)) + "," +
                    std::to_string(int(y)));
    });
    b.MouseIn.connect([this](int) { all.push_back("MouseIn"); });
    b.MouseOut.connect([this](int s) { add("MouseOut", s); });
  }
  // The log without pointer moves.
  std::vector<std::string> withoutMoves() const {
    std::vector<std::string> out;
    for (const auto& e : all)
      if (e != "MouseMove") out.push_back(e);
    return out;
  }
  int count(const std::string& what) const {
    int n = 0;
    for (const auto& e : all) n += e == what;
    return n;
  }

 private:
  void add(const std::string& what, int arg) { all.push_back(what + " " + std::to_string(arg)); }
};

}  // namespace korvane::controls
