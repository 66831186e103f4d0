// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/wake_resync.h"

namespace korvane::shell {

bool WakeResync::tick(int64_t suspendedMillis, bool synchronising) {
  if (lastSuspended_ && suspendedMillis - *lastSuspended_ >= kSuspendMillis) seen();
  lastSuspended_ = suspendedMillis;
  if (wait_ == 0) return false;
  if (synchronising) {
    wait_ = 0;
    return false;
  }
  return --wait_ == 0;
}

}  // namespace korvane::shell
