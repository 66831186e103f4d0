// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_scheduler.h"

#include <algorithm>

#include "platform/second_beat.h"

namespace korvane::platform {

void FakeScheduler::watch(ui::Timer& timer) {
  forget(timer);
  auto e = std::make_unique<Entry>();
  e->timer = &timer;
  Entry* entry = e.get();
  // Enabling a timer or changing its interval starts the interval afresh, as a real timer does.
  e->changed = timer.PropertyChanged.connect([this, entry](ui::Property) {
    const bool on = entry->timer->enabled() && entry->timer->interval() > 0;
    if (on != entry->armed || entry->timer->interval() != entry->interval ||
        entry->timer->onSecond() != entry->onSecond)
      rearm(*entry);
  });
  rearm(*entry);
  entries_.push_back(std::move(e));
}

void FakeScheduler::forget(const ui::Timer& timer) {
  std::erase_if(entries_, [&timer](const auto& e) { return e->timer == &timer; });
}

void FakeScheduler::watch(ui::Form& form) {
  for (const ui::Form::Entry& e : form.controls())
    if (auto* timer = dynamic_cast<ui::Timer*>(e.control)) watch(*timer);
}

void FakeScheduler::forget(const ui::Form& form) {
  for (const ui::Form::Entry& e : form.controls())
    if (auto* timer = dynamic_cast<const ui::Timer*>(e.control)) forget(*timer);
}

void FakeScheduler::rearm(Entry& e) {
  e.interval = e.timer->interval();
  e.armed = e.timer->enabled() && e.interval > 0;
  e.onSecond = e.timer->onSecond();
  e.due = now_ + (e.onSecond ? secondStep(clock_).nextInMs : e.interval);
}

void FakeScheduler::run(int64_t millis) {
  const int64_t end = now_ + millis;
  for (;;) {
    Entry* next = nullptr;
    for (const auto& e : entries_)
      if (e->armed && e->due <= end && (!next || e->due < next->due)) next = e.get();
    if (!next) break;
    clock_.advance(next->due - now_);
    now_ = next->due;
    // Re-armed before the tick, which may forget timers, this one included.
    const SecondStep step = next->onSecond ? secondStep(clock_) : SecondStep{true, next->interval};
    next->due += step.nextInMs;
    if (!step.tick) continue;
    ++ticks_;
    next->timer->tick();
  }
  clock_.advance(end - now_);
  now_ = end;
}

}  // namespace korvane::platform
