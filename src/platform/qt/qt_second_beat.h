// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One wake-up for every timer on the second: a precise single-shot timer re-armed from the
// program's clock each time, so the seconds shown flip just after the true second.
#include <QObject>
#include <QTimer>
#include <vector>

#include "platform/clock.h"
#include "platform/ui/timer.h"

namespace korvane::platform {

class SecondBeat : public QObject {
 public:
  explicit SecondBeat(const SystemClock& clock);
  SecondBeat(const SecondBeat&) = delete;
  SecondBeat& operator=(const SecondBeat&) = delete;

  void add(ui::Timer& timer);
  void remove(const ui::Timer& timer);

 private:
  struct Member {
    ui::Timer* timer;
    ui::ScopedConnection changed;
  };
  void wake();
  // Runs while any member is enabled, so an idle program with none has no wake-up at all.
  void refresh();
  bool contains(const ui::Timer* timer) const;

  const SystemClock& clock_;
  QTimer wake_;
  std::vector<Member> members_;
};

}  // namespace korvane::platform
