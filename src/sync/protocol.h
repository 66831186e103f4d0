#pragma once
// The four time protocols and the user's protocol choice texts.
#include <cstdint>
#include <string_view>

namespace korvane::sync {

enum class Protocol : int16_t { Time = 0, Sntp = 1, DayTime = 2, UnixTime = 3 };

// The name shown in "Synchronizing using <name>...".
std::string_view protocolName(Protocol p);
// The tooltip of the source lamp while the protocol is in use.
std::string_view protocolLampTip(Protocol p);
// The server's port for the protocol.
int protocolPort(Protocol p);

namespace choice {
constexpr std::string_view kAutomatic = "Automatic/Random";
constexpr std::string_view kDayTime = "Default DayTime Protocol";
constexpr std::string_view kTime = "Default Time Protocol";
constexpr std::string_view kSntp = "Default SNTP Protocol";
constexpr std::string_view kUnixTime = "Default UnixTime Protocol!";
}  // namespace choice

}  // namespace korvane::sync
