// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The socket control on the desktop: POSIX sockets on Qt's event loop, host names looked up on
// Qt's thread pool so that the windows never wait for the resolver.
#include <memory>

#include "platform/posix/posix_socket.h"
#include "platform/qt/qt_background.h"
#include "platform/qt/qt_io_loop.h"

namespace korvane::platform {

class QtSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<Socket> create() override {
    return std::make_unique<PosixSocket>(loop_, &lookups_);
  }

 private:
  QtIoLoop loop_;
  QtBackgroundWork lookups_;
};

}  // namespace korvane::platform
