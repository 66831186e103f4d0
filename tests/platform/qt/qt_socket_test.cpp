// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's socket control (POSIX sockets on Qt's event loop, look-ups on Qt's thread pool)
// against plain sockets on the loopback, for what every backend must do alike.
#include "platform/qt/qt_socket.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_test_app.h"
#include "platform/socket_contract.h"

namespace korvane::platform {
namespace {

using korvane::testing::qtTestApp;
using korvane::testing::runQtUntil;
using namespace korvane::platform::testing;

// A socket on the application's event loop.
struct QtBackend {
  QCoreApplication& app = qtTestApp();  // before the socket
  QtSocketFactory factory;
  std::unique_ptr<Socket> owned = factory.create();
  Socket& socket = *owned;
  bool runUntil(const std::function<bool()>& done, int ms) { return runQtUntil(done, ms); }
  void settle() {
    runQtUntil([] { return false; }, 100);
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(QtSocketTest, SocketContractTest, QtBackend);

}  // namespace
}  // namespace korvane::platform
