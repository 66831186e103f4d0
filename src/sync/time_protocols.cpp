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
  UDP123_->Bind();
  NtpSent = GrabTime();
  RoundTripMs = services_.clock.tickCount();
  lamps.DataOut();
  const SntpPacket request = buildSntpRequest(NtpSent);
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

void SyncDriver::TCP13_DataArrival(long bytesTotal) {
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
    const long shown = std::min<long>(bytesTotal, static_cast<long>(reply->size())) - 2;
    SyncStatus = text::left(*reply, shown);
    enableSyncButton();
    return;
  }
  const int64_t localMillis = oleMillisFromCivil(*utc) - int64_t{GrabBias()} * 1000;
  UpdateTime(oleDateFromMillis(localMillis));
}

void SyncDriver::UDP123_DataArrival(long bytesTotal) {
  lamps.DataIn();
  const auto reply = UDP123_->GetDataBytes(static_cast<size_t>(std::max(0L, bytesTotal)));
  if (!reply || bytesTotal != static_cast<long>(sntp::kPacketSize) ||
      reply->size() != sntp::kPacketSize) {
    lamps.SRCToggle();
    enableSyncButton();
    UDP123_->Close();
    return;
  }
  if (!UDP123_->lastDatagramFromRemote())
    return rejectSntpReply("SNTP reply refused: it came from another address");
  if (const auto problem = sntpReplyProblem(*reply, NtpSent)) return rejectSntpReply(*problem);
  RoundTripMs = services_.clock.tickCount() - RoundTripMs;
  NtpReceived = GrabTime();
  const double t4 = GoMilli(NtpReceived.bytes, 0);
  const double t1 = GoMilli(NtpSent.bytes, 0);
  const double t2 = GoMilli(*reply, sntp::kReceiveOffset);
  const double t3 = GoMilli(*reply, sntp::kTransmitOffset);
  const double theta = sntpOffsetMillis(t1, t2, t3, t4);
  const auto reported = toInt32HalfEven(theta);
  if (!reported) return;  // off by more than 24.8 days: the time-out ends this synchronisation
  sntpClockSetting(theta, *reported);
}

void SyncDriver::rejectSntpReply(const std::string& why) {
  UDP123_->Close();
  SyncStatus = why;
  shell_.setTip("KRV - No Adjustment: " + generalDateNow());
  shell_.UpdateSZTIP();
  returnToIdle();
}

}  // namespace korvane::sync
