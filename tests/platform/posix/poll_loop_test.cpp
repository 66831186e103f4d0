// SPDX-License-Identifier: GPL-3.0-or-later
// The poll loop: timers in order, deadlines kept without oversleeping, descriptors dispatched
// safely when handlers change the watches.
#include "platform/posix/poll_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace korvane::platform {
namespace {

using std::chrono::milliseconds;
using Clock = PollLoop::Clock;

// Slack for a busy machine: how much later than asked a wake-up may come.
constexpr milliseconds kSlack{40};

double millisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe() {
    close(fds[0]);
    close(fds[1]);
  }
  int readEnd() const { return fds[0]; }
  void put() const { EXPECT_EQ(write(fds[1], "x", 1), 1); }
};

TEST(PollLoopTest, TimersFireByDueTimeAndTiesInTheOrderAdded) {
  struct Case {
    std::vector<std::pair<int, char>> timers;  // delay in ms, name
    std::string order;
  };
  const Case cases[] = {
      {{{30, 'c'}, {10, 'a'}, {20, 'b'}}, "abc"},
      {{{5, 'x'}, {5, 'y'}, {5, 'z'}}, "xyz"},
      {{{0, 'n'}, {15, 'l'}, {0, 'm'}}, "nml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    PollLoop loop;
    std::string fired;
    for (const auto& [delay, name] : c.timers)
      loop.addTimer(milliseconds(delay), [&fired, name = name] { fired += name; });
    EXPECT_TRUE(loop.runUntil([&] { return fired.size() == c.order.size(); },
                              Clock::now() + std::chrono::seconds(5)));
    EXPECT_EQ(fired, c.order);
  }
}

TEST(PollLoopTest, ATimerFiresNoEarlierThanItsDelay) {
  PollLoop loop;
  const Clock::time_point start = Clock::now();
  double firedAt = -1;
  loop.addTimer(milliseconds(20), [&] { firedAt = millisSince(start); });
  EXPECT_TRUE(loop.runUntil([&] { return firedAt >= 0; }, start + std::chrono::seconds(5)));
  EXPECT_GE(firedAt, 20.0);
  EXPECT_LT(firedAt, 20.0 + kSlack.count());
}

TEST(PollLoopTest, ATimerCancelledByOneDueInTheSamePassNeverFires) {
  PollLoop loop;
  PollLoop::TimerId doomed = 0;
  std::string fired;
  loop.addTimer(milliseconds(1), [&] {
    fired += 'a';
    loop.cancelTimer(doomed);
  });
  doomed = loop.addTimer(milliseconds(1), [&] { fired += 'b'; });
  loop.addTimer(milliseconds(1), [&] { fired += 'c'; });
  usleep(10000);  // all three are due when the pass starts
  loop.doEvents();
  EXPECT_EQ(fired, "ac");
}

TEST(PollLoopTest, RunUntilKeepsItsDeadlineWithoutSleepingLonger) {
  for (int deadlineMs : {0, 15, 60}) {
    SCOPED_TRACE(deadlineMs);
    PollLoop loop;
    Pipe idle;  // a watch that never becomes ready: the wait is poll's
    loop.watch(idle.readEnd(), POLLIN, [](short) {});
    const Clock::time_point start = Clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, start + milliseconds(deadlineMs)));
    const double took = millisSince(start);
    EXPECT_GE(took, deadlineMs);
    EXPECT_LT(took, deadlineMs + kSlack.count());
  }
}

TEST(PollLoopTest, RunUntilReturnsAsSoonAsTheConditionHolds) {
  PollLoop loop;
  Pipe p;
  bool read = false;
  loop.watch(p.readEnd(), POLLIN, [&](short revents) {
    EXPECT_TRUE(revents & POLLIN);
    char c;
    EXPECT_EQ(::read(p.readEnd(), &c, 1), 1);
    read = true;
  });
  loop.addTimer(milliseconds(10), [&] { p.put(); });
  const Clock::time_point start = Clock::now();
  EXPECT_TRUE(loop.runUntil([&] { return read; }, start + std::chrono::seconds(10)));
  EXPECT_LT(millisSince(start), 10.0 + kSlack.count());
}

TEST(PollLoopTest, DoEventsNeverWaitsAndRunsPostedCallsOnlyOnTheNextPass) {
  PollLoop loop;
  loop.addTimer(std::chrono::seconds(10), [] { ADD_FAILURE() << "a far timer fired"; });
  int calls = 0;
  // A call that posts itself again must not keep one pass going for ever.
  std::function<void()> again = [&] {
    ++calls;
    loop.post(again);
  };
  loop.post(again);
  EXPECT_EQ(calls, 0) << "a posted call ran inside post";
  const Clock::time_point start = Clock::now();
  loop.doEvents();
  EXPECT_EQ(calls, 1);
  loop.doEvents();
  EXPECT_EQ(calls, 2);
  EXPECT_LT(millisSince(start), static_cast<double>(kSlack.count()));
}

TEST(PollLoopTest, AHandlerThatUnwatchesAnotherReadyDescriptorStopsItsEvent) {
  PollLoop loop;
  Pipe first, second;
  first.put();
  second.put();
  std::vector<int> ran;
  // Whichever runs first removes the other: its event of this pass must not be delivered.
  loop.watch(first.readEnd(), POLLIN, [&](short) {
    ran.push_back(1);
    loop.unwatch(first.readEnd());
    loop.unwatch(second.readEnd());
  });
  loop.watch(second.readEnd(), POLLIN, [&](short) {
    ran.push_back(2);
    loop.unwatch(first.readEnd());
    loop.unwatch(second.readEnd());
  });
  loop.doEvents();
  EXPECT_EQ(ran.size(), 1u);
  EXPECT_FALSE(loop.watching(first.readEnd()));
}

TEST(PollLoopTest, AWatchAskingForNothingIsNotDispatched) {
  PollLoop loop;
  Pipe p;
  p.put();
  int events = 0;
  loop.watch(p.readEnd(), POLLIN, [&](short) { ++events; });
  loop.setEvents(p.readEnd(), 0);
  loop.doEvents();
  EXPECT_EQ(events, 0);
  loop.setEvents(p.readEnd(), POLLIN);
  loop.doEvents();
  EXPECT_EQ(events, 1);
}

TEST(PollLoopTest, RunUntilWithNothingToWaitForReturnsInsteadOfHanging) {
  PollLoop loop;
  EXPECT_FALSE(loop.runUntil([] { return false; }));
}

}  // namespace
}  // namespace korvane::platform
