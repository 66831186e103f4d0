// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the main window shows of a synchronisation: its status line, tray tip and picture, from
// the outcome's kind, never from the words of a text.
#include <optional>
#include <string>

#include "sync/protocol.h"
#include "sync/synchroniser.h"

namespace korvane::shell {

// The tray picture a change of the tip asks for.
enum class TrayPicture {
  Unchanged,  // the picture stays as it was
  Checking,   // the flag of the server being asked
  Adjusted,   // the clock was set
  Failed,     // the synchronisation failed
};

struct OutcomeView {
  std::optional<std::string> status;  // the new status line; empty: it stays
  std::optional<std::string> tip;     // the new tray tip; empty: the tray is not told
  TrayPicture picture = TrayPicture::Unchanged;
};

// "Synchronizing using <protocol>...", the status while an exchange runs ("NTS" for SNTP under
// Network Time Security).
std::string synchronizingStatus(sync::Protocol protocol, bool nts = false);

// The question put to the user about an Unconfirmed change: the amount in days, hours, minutes
// and seconds, and both times.
std::string changeQuestion(const sync::SyncOutcome& unconfirmed, const std::string& localNow,
                           const std::string& serverNow);

// The view of an outcome; generalDateNow is the local date and time in the general format.
OutcomeView viewOf(const sync::SyncOutcome& outcome, const std::string& generalDateNow);

}  // namespace korvane::shell
