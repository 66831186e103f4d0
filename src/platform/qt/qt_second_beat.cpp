// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_second_beat.h"

#include <algorithm>

#include "platform/second_beat.h"

namespace korvane::platform {

SecondBeat::SecondBeat(const SystemClock& clock) : clock_(clock) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&wake_, &QTimer::timeout, this, [this] { wake(); });
}

void SecondBeat::add(ui::Timer& timer) {
  remove(timer);
  members_.push_back({&timer, timer.PropertyChanged.connect([this](ui::Property) { refresh(); })});
  refresh();
}

void SecondBeat::remove(const ui::Timer& timer) {
  std::erase_if(members_, [&timer](const Member& m) { return m.timer == &timer; });
  refresh();
}

bool SecondBeat::contains(const ui::Timer* timer) const {
  return std::any_of(members_.begin(), members_.end(),
                     [timer](const Member& m) { return m.timer == timer; });
}

void SecondBeat::refresh() {
  const bool wanted = std::any_of(members_.begin(), members_.end(),
                                  [](const Member& m) { return m.timer->enabled(); });
  if (!wanted)
    wake_.stop();
  else if (!wake_.isActive())
    wake_.start(secondStep(clock_).nextInMs);
}

void SecondBeat::wake() {
  const SecondStep step = secondStep(clock_);
  wake_.start(step.nextInMs);
  if (!step.tick) return;
  std::vector<ui::Timer*> due;
  for (const Member& m : members_) due.push_back(m.timer);
  // A tick may unload a form, and so remove timers still to tick.
  for (ui::Timer* t : due)
    if (contains(t)) t->tick();
  refresh();
}

}  // namespace korvane::platform
