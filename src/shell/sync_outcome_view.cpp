#include "shell/sync_outcome_view.h"

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

}  // namespace

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
    case OutcomeKind::NoServer:
      break;
  }
  return {};
}

}  // namespace korvane::shell
