// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_io_loop.h"

#include <QCoreApplication>

namespace korvane::platform {

QtIoLoop::~QtIoLoop() {
  for (auto& [fd, w] : watches_) retire(w);
}

// A notifier may be the one whose signal is running: it is disabled now and deleted later.
void QtIoLoop::retire(Watch& w) {
  for (std::unique_ptr<QSocketNotifier>* n : {&w.read, &w.write}) {
    if (!*n) continue;
    (*n)->setEnabled(false);
    n->release()->deleteLater();
  }
}

void QtIoLoop::watch(int fd, short events, IoHandler handler) {
  unwatch(fd);
  Watch& w = watches_[fd];
  w.handler = std::make_shared<IoHandler>(std::move(handler));
  w.read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  w.write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
  for (auto [notifier, revents] :
       {std::pair{w.read.get(), short{POLLIN}}, std::pair{w.write.get(), short{POLLOUT}}}) {
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [handler = std::weak_ptr<IoHandler>(w.handler), revents = revents] {
                       // A copy: the handler may unwatch (and so release) itself.
                       if (const std::shared_ptr<IoHandler> h = handler.lock()) (*h)(revents);
                     });
  }
  setEvents(fd, events);
}

void QtIoLoop::setEvents(int fd, short events) {
  const auto it = watches_.find(fd);
  if (it == watches_.end() || !it->second.read) return;
  it->second.read->setEnabled((events & POLLIN) != 0);
  it->second.write->setEnabled((events & POLLOUT) != 0);
}

void QtIoLoop::unwatch(int fd) {
  const auto it = watches_.find(fd);
  if (it == watches_.end()) return;
  retire(it->second);
  watches_.erase(it);
}

void QtIoLoop::post(std::function<void()> call) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [life = std::weak_ptr<char>(life_), call = std::move(call)] {
        if (!life.expired()) call();
      },
      Qt::QueuedConnection);
}

}  // namespace korvane::platform
