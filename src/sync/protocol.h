// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four time protocols.
#include <cstdint>
#include <string_view>

#include "program/vocabulary.h"

namespace korvane::sync {

enum class Protocol : int16_t { Time = 0, Sntp = 1, DayTime = 2, UnixTime = 3 };

// The name shown in "Synchronizing using <name>...".
std::string_view protocolName(Protocol p);
// The tooltip of the source lamp while the protocol is in use.
std::string_view protocolLampTip(Protocol p);
// The server's port for the protocol.
int protocolPort(Protocol p);

// The user's protocol choices, as the settings store them.
namespace choice = program::choice;

}  // namespace korvane::sync
