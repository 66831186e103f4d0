// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/sync_outcome_view.h"

#include <cmath>
#include <cstdint>

#include "common/text.h"
#include "common/tip_field.h"
#include "sync/daytime_text.h"

namespace korvane::shell {

using sync::OutcomeKind;
using sync::SyncOutcome;

namespace {

const std::string kNoAdjustment = "KRV - No Adjustment: ";

std::string adjustedStatus(const SyncOutcome& o) {
  if (o.protocol == sync::Protocol::Sntp)
    return " KRV Adjusted by: " + text::left(std::to_string(o.amount), 10) + " ms ";
  return "Time Adjusted by " + std::to_string(o.amount) + " second(s)";
}

// A status and the tip that repeats it between blanks.
OutcomeView repeatedInTip(std::string status, TrayPicture picture) {
  std::string tip = withNul(" " + status + " ");
  return {std::move(status), std::move(tip), picture};
}

std::string unreadableStatus(const SyncOutcome& o) {
  // A DayTime line that is not a date is shown as the server sent it.
  if (o.protocol == sync::Protocol::DayTime && !o.reply.empty())
    return sync::replyForDisplay(o.reply);
  return o.text;
}

// "3652 days, 0 hours, 0 minutes and 5 seconds", of a change in milliseconds.
std::string durationWords(double millis) {
  const auto total = static_cast<int64_t>(std::llround(std::fabs(millis) / 1000));
  return std::to_string(total / 86400) + " days, " + std::to_string(total / 3600 % 24) +
         " hours, " + std::to_string(total / 60 % 60) + " minutes and " +
         std::to_string(total % 60) + " seconds";
}

// A change within a minute of a whole number of hours is the mark of another system on this
// computer that keeps the hardware clock in local time.
std::string dualBootHint(double millis) {
  const double seconds = std::fabs(millis) / 1000;
  const double hours = std::round(seconds / 3600);
  if (hours < 1 || hours > 14 || std::fabs(seconds - hours * 3600) > 60) return {};
  return " Another system on this computer may keep the hardware clock in local time "
         "(timedatectl set-local-rtc 0).";
}

std::string directionWord(const SyncOutcome& o) {
  return o.offsetMillis < 0 ? " ahead" : " behind";
}

std::string unconfirmedWhy(const SyncOutcome& o) {
  if (o.declined) return "you chose to keep it";
  if (o.disagreeing.empty()) return "no second server confirmed it";
  return "a second server, " + o.disagreeing + ", does not agree";
}

std::string unconfirmedStatus(const SyncOutcome& o) {
  const std::string direction = directionWord(o);
  const std::string why = unconfirmedWhy(o);
  return "Clock left unchanged: " + o.host + " says it is " + durationWords(o.offsetMillis) +
         direction + ", more than the " + std::to_string(o.boundSeconds) +
         " s changed on one server's word, and " + why + "." + dualBootHint(o.offsetMillis);
}

}  // namespace

std::string changeQuestion(const SyncOutcome& o, const std::string& localNow,
                           const std::string& serverNow) {
  return o.host + " says this computer's clock is " + durationWords(o.offsetMillis) +
         directionWord(o) + ".\r\n\r\nThis computer: " + localNow + "\r\n" + o.host + ": " +
         serverNow + "\r\n\r\nSet the clock to the server's time?" + dualBootHint(o.offsetMillis);
}

std::string synchronizingStatus(sync::Protocol protocol, bool nts) {
  return "Synchronizing using " + std::string(nts ? "NTS" : sync::protocolName(protocol)) + "...";
}

OutcomeView viewOf(const SyncOutcome& o, const std::string& generalDateNow) {
  switch (o.kind) {
    case OutcomeKind::Adjusted:
      return repeatedInTip(adjustedStatus(o), TrayPicture::Adjusted);
    case OutcomeKind::Correct:
      return repeatedInTip("Atomically Correct: No Adjustment!", TrayPicture::Unchanged);
    case OutcomeKind::ClockRefused:
      return {"Unable to set the clock: " + o.text,
              kNoAdjustment + (o.brief.empty() ? o.text.substr(0, o.text.find("; ")) : o.brief),
              TrayPicture::Failed};
    case OutcomeKind::TimedOut:
      return {"Unable to Synchronize: Timed Out!", std::nullopt, TrayPicture::Unchanged};
    case OutcomeKind::SocketError:
      return {o.text, kNoAdjustment + generalDateNow, TrayPicture::Failed};
    case OutcomeKind::UnreadableReply:
      return {unreadableStatus(o), kNoAdjustment + generalDateNow, TrayPicture::Failed};
    case OutcomeKind::Unconfirmed:
      return {unconfirmedStatus(o), withNul(" KRV - Clock left unchanged: " + generalDateNow + " "),
              TrayPicture::Failed};
    case OutcomeKind::NotAsked:
      return {o.text, kNoAdjustment + generalDateNow, TrayPicture::Failed};
    case OutcomeKind::NoServer:
      break;
  }
  return {};
}

}  // namespace korvane::shell
