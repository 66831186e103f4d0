// The four exchanges: starters and socket handlers.
#include <algorithm>

#include "common/ntp_timestamp.h"
#include "common/rounding.h"
#include "common/text.h"
#include "sync/daytime_text.h"
#include "sync/ntp_time.h"
#include "sync/sntp_packet.h"
#include "sync/sync_driver.h"

namespace korvane::sync {

using platform::SocketProtocol;

void SyncDriver::Grab37Time() {
  beginExchange(Protocol::Time);
  tcpTime_->Close();
  tcpTime_->setRemoteHost(text::trim(hostText()));
  tcpTime_->setLocalPort(0);
  tcpTime_->Connect();
}

void SyncDriver::GrabUnix() {
  beginExchange(Protocol::UnixTime);
  TCP519_->Close();
  TCP519_->setRemotePort(protocolPort(Protocol::UnixTime));
  TCP519_->setRemoteHost(hostText());
  TCP519_->Connect();
}

void SyncDriver::GrabDayTime() {
  beginExchange(Protocol::DayTime);
  TCP13_->Close();
  TCP13_->setRemotePort(protocolPort(Protocol::DayTime));
  TCP13_->setRemoteHost(hostText());
  TCP13_->Connect();
}

void SyncDriver::GrabSNTP() {
  beginExchange(Protocol::Sntp);
  UDP123_->Close();
  UDP123_->setProtocol(SocketProtocol::Udp);
  UDP123_->setRemotePort(protocolPort(Protocol::Sntp));
  UDP123_->setRemoteHost(hostText());
  UDP123_->setLocalPort(0);
  sntpReplyAwaited_ = false;
  UDP123_->Bind();
  // T1 is taken once the host is known: a slow name look-up must not count as network delay.
  UDP123_->ResolveHost();
}

void SyncDriver::UDP123_HostResolved() {
  NtpSent = GrabTime();
  RoundTripMs = services_.clock.tickCount();
  lamps.DataOut();
  const SntpPacket request = buildSntpRequest(NtpSent);
  sntpReplyAwaited_ = true;
  if (!UDP123_->SendData({request.begin(), request.end()}).ok) UDP123_->Close();
}

void SyncDriver::tcpTime_DataArrival(long) {
  lamps.DataIn();
  const auto bytes = tcpTime_->GetData4Bytes();
  tcpTime_->Close();
  enableSyncButton();
  if (!bytes) return;  // a reply too short to read: the time-out ends this synchronisation
  handleWholeSecondReply(*bytes, 0);
}

void SyncDriver::tcpTime_Close() {
  if (!closeUntilClosed(*tcpTime_)) return;
  c_.SyncTimeNow.setEnabled(true);
}

void SyncDriver::TCP519_DataArrival(long) {
  lamps.DataIn();
  const auto bytes = TCP519_->GetData4Bytes();
  TCP519_->Close();
  if (!bytes) return;
  enableSyncButton();
  handleWholeSecondReply(*bytes, kSeconds1900To1970);
}

void SyncDriver::TCP13_DataArrival(long) {
  lamps.DataIn();
  const auto reply = TCP13_->GetDataText();
  SyncBusy = false;
  if (!reply) {
    enableSyncButton();
    TCP13_->Close();
    return;
  }
  TCP13_->Close();
  const std::optional<CivilDateTime> utc = readDayTimeReply(*reply, services_.locale);
  if (!utc) {
    SyncStatus = replyForDisplay(*reply);
    enableSyncButton();
    return;
  }
  const int64_t localMillis = oleMillisFromCivil(*utc) - int64_t{GrabBias()} * 1000;
  UpdateTime(oleDateFromMillis(localMillis));
}

void SyncDriver::UDP123_DataArrival(long bytesTotal) {
  const auto reply = UDP123_->GetDataBytes(static_cast<size_t>(std::max(0L, bytesTotal)));
  // A datagram from another address, or a copy of a reply already taken, is dropped: the
  // exchange waits on for its own answer, and one answer moves the clock once.
  if (reply && (!UDP123_->lastDatagramFromRemote() || !sntpReplyAwaited_)) return;
  lamps.DataIn();
  if (!reply || bytesTotal != static_cast<long>(sntp::kPacketSize) ||
      reply->size() != sntp::kPacketSize) {
    lamps.SRCToggle();
    enableSyncButton();
    UDP123_->Close();
    return;
  }
  if (const auto problem = sntpReplyProblem(*reply, NtpSent)) return rejectSntpReply(*problem);
  sntpReplyAwaited_ = false;
  RoundTripMs = services_.clock.tickCount() - RoundTripMs;
  NtpReceived = GrabTime();
  // Every timestamp in the era of the local clock: the NTP count wraps in 2036.
  const int64_t era = localSecondsSince1900(localNow()) + GrabBias();
  const double t4 = GoMilli(NtpReceived.bytes, 0, era);
  const double t1 = GoMilli(NtpSent.bytes, 0, era);
  const double t2 = GoMilli(*reply, sntp::kReceiveOffset, era);
  const double t3 = GoMilli(*reply, sntp::kTransmitOffset, era);
  const double theta = sntpOffsetMillis(t1, t2, t3, t4);
  const auto reported = toInt32HalfEven(theta);
  if (!reported) return;  // off by more than 24.8 days: the time-out ends this synchronisation
  sntpClockSetting(theta, *reported);
}

void SyncDriver::rejectSntpReply(const std::string& why) {
  sntpReplyAwaited_ = false;
  UDP123_->Close();
  SyncStatus = why;
  shell_.setTip("KRV - No Adjustment: " + generalDateNow());
  shell_.UpdateSZTIP();
  returnToIdle();
}

}  // namespace korvane::sync
