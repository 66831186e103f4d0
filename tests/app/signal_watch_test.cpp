// SPDX-License-Identifier: GPL-3.0-or-later
// Signals become a call on the UI thread, and the handler leaves errno as it found it.
#include "app/signal_watch.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <cerrno>

namespace korvane::app {
namespace {

TEST(SignalWatchTest, KeepsErrnoEvenWhenThePipeIsFull) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  int calls = 0;
  SignalWatch watch([&] { ++calls; });
  // More signals than the pipe holds: the handler's last writes fail with EAGAIN.
  for (int i = 0; i < 70000; ++i) raise(SIGTERM);
  errno = 0;
  raise(SIGTERM);
  EXPECT_EQ(errno, 0);
  QCoreApplication::processEvents();
  EXPECT_GE(calls, 1);
}

}  // namespace
}  // namespace korvane::app
