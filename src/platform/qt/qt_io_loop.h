// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The IoLoop on Qt's event loop: a read and a write QSocketNotifier per watched descriptor, calls
// posted as queued calls; everything on the UI thread.
#include <QSocketNotifier>
#include <map>
#include <memory>

#include "platform/posix/io_loop.h"

namespace korvane::platform {

class QtIoLoop final : public IoLoop {
 public:
  QtIoLoop() = default;
  ~QtIoLoop() override;
  QtIoLoop(const QtIoLoop&) = delete;
  QtIoLoop& operator=(const QtIoLoop&) = delete;

  void watch(int fd, short events, IoHandler handler) override;
  void setEvents(int fd, short events) override;
  void unwatch(int fd) override;
  void post(std::function<void()> call) override;

 private:
  struct Watch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;
    std::shared_ptr<IoHandler> handler;  // shared: a handler may unwatch itself while it runs
  };
  void retire(Watch& w);

  std::map<int, Watch> watches_;
  // Replaced by nothing: calls posted for a loop that is gone find theirs expired.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

}  // namespace korvane::platform
