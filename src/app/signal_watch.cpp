// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/signal_watch.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace korvane::app {

namespace {

int pipeFds[2] = {-1, -1};  // the signal handler can reach nothing else

void onSignal(int) {
  const int savedErrno = errno;  // the interrupted code may be about to read it
  const char byte = 1;
  const ssize_t n = write(pipeFds[1], &byte, 1);
  (void)n;
  errno = savedErrno;
}

}  // namespace

SignalWatch::SignalWatch(std::function<void()> onSignal_cb) : onSignal_(std::move(onSignal_cb)) {
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
  QObject::connect(notifier_, &QSocketNotifier::activated, [this] {
    char buf[16];
    while (read(pipeFds[0], buf, sizeof buf) > 0) {
    }
    if (onSignal_) onSignal_();
  });
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

SignalWatch::~SignalWatch() {
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

}  // namespace korvane::app
