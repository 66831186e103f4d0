// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/exchange.h"

#include <algorithm>
#include <chrono>

#include "common/ole_date.h"
#include "common/text.h"
#include "sync/daytime_text.h"
#include "sync/ntp_time.h"
#include "sync/sntp_packet.h"
#include "sync/zone_bias.h"

namespace korvane::sync {

using platform::SocketProtocol;

namespace {

// A DayTime line is a few dozen characters; a server that sends more without ending a line is
// not answering the question.
constexpr size_t kMaxDayTimeReply = 4096;
constexpr const char* kBlank = " \t\r\n";

// "[::1]" names the address ::1: the brackets only set it apart from a port.
std::string withoutBrackets(const std::string& host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    return host.substr(1, host.size() - 2);
  return host;
}

}  // namespace

MonotonicMillis steadyMillis() {
  return [] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
  };
}

double ExchangeResult::offsetMillis() const {
  if (protocol == Protocol::Sntp) return sntpOffsetMillis(t1, t2, t3, t4);
  return static_cast<double>((serverSeconds - localSeconds) * 1000);
}

double ExchangeResult::delayMillis() const {
  // The round trip by the steady clock, less the time the server held the request: a step of
  // the wall clock meanwhile does not enter it.
  if (protocol == Protocol::Sntp) return roundTripMillis - (t3 - t2);
  return roundTripMillis;
}

Exchange::Exchange(const platform::SystemClock& clock, const platform::Locale& locale,
                   platform::SocketFactory& sockets, MonotonicMillis monotonic)
    : clock_(clock), locale_(locale), monotonic_(std::move(monotonic)), socket_(sockets.create()) {
  // One socket for every exchange: closing it from inside its own event is safe, destroying it
  // there would not be.
  socket_->onDataArrival = [this](long n) { onData(n); };
  socket_->onClose = [this] { onPeerClose(); };
  socket_->onHostResolved = [this] { sendSntpRequest(); };
  socket_->onError = [this](const platform::SocketError& e) {
    fail(ExchangeKind::SocketError, e.description.empty() ? "unknown socket error" : e.description);
  };
}

void Exchange::start(Protocol protocol, const std::string& host, Done done, int port) {
  // A late reply of an earlier exchange is cut off with its socket.
  socket_->Close();
  protocol_ = protocol;
  host_ = withoutBrackets(text::trim(host));
  done_ = std::move(done);
  bias_ = readZoneBias(clock_).seconds;
  dayTimeText_.clear();
  requestOut_ = false;
  startedAt_ = monotonic_();
  socket_->setRemoteHost(host_);
  socket_->setRemotePort(port > 0 ? port : protocolPort(protocol));
  socket_->setLocalPort(0);
  if (protocol == Protocol::Sntp)
    startSntp();
  else
    startTcp();
}

void Exchange::startTcp() {
  socket_->setProtocol(SocketProtocol::Tcp);
  socket_->Connect();
}

void Exchange::startSntp() {
  socket_->setProtocol(SocketProtocol::Udp);
  if (const platform::SocketResult bound = socket_->Bind(); !bound.ok)
    return fail(ExchangeKind::SocketError, bound.error.description);
  // T1 is taken once the host is known: a slow name look-up must not count as network delay.
  socket_->ResolveHost();
}

void Exchange::sendSntpRequest() {
  if (!running() || requestOut_) return;
  const platform::SystemTime local = clock_.localTime();
  sent_ = ntpTimestampOf(local, bias_);
  t1_ = static_cast<double>(utcMillisSince1900(local, bias_)) + 0.5;
  startedAt_ = monotonic_();
  requestOut_ = true;
  if (onRequestSent) onRequestSent();
  const SntpPacket request = buildSntpRequest(sent_);
  const std::vector<uint8_t> bytes =
      guard_ ? guard_->request(request) : std::vector<uint8_t>(request.begin(), request.end());
  if (bytes.empty()) return fail(ExchangeKind::SocketError, "no NTS cookie left");
  if (const platform::SocketResult r = socket_->SendData(bytes); !r.ok)
    fail(ExchangeKind::SocketError, r.error.description);
}

void Exchange::timeOut() {
  if (running()) fail(ExchangeKind::TimedOut, "timed out");
}

void Exchange::tryNextAddress() {
  if (!running() || protocol_ != Protocol::Sntp || !requestOut_) return;
  if (!socket_->useNextAddress()) return;
  requestOut_ = false;
  sendSntpRequest();
}

void Exchange::abandon() {
  done_ = nullptr;
  socket_->Close();
}

void Exchange::onData(long bytesTotal) {
  if (!running()) {
    socket_->GetDataBytes(SIZE_MAX);  // nothing waits for it: drop it
    return;
  }
  if (onReplyData) onReplyData();
  if (!running()) return;  // the observer ended the exchange
  switch (protocol_) {
    case Protocol::Time:
    case Protocol::UnixTime:
      return readWholeSeconds();
    case Protocol::DayTime:
      return readDayTime(false);
    case Protocol::Sntp:
      return readSntp(bytesTotal);
  }
}

void Exchange::onPeerClose() {
  if (!running()) return;
  if (protocol_ == Protocol::DayTime) return readDayTime(true);
  fail(ExchangeKind::UnreadableReply,
       std::string(protocolName(protocol_)) +
           " reply refused: the server closed the connection before sending 4 bytes");
}

double Exchange::utcMillisNow() const {
  // The clock reads whole milliseconds, cut off: the moment lies half a millisecond later on
  // average, which would otherwise bias every offset by that much.
  return static_cast<double>(utcMillisSince1900(clock_.localTime(), bias_)) + 0.5;
}

int64_t Exchange::utcSecondsNow() const {
  return localSecondsSince1900(clock_.localTime()) + bias_;
}

void Exchange::readWholeSeconds() {
  const auto bytes = socket_->GetData4Bytes();
  if (!bytes) return;  // fewer than 4 bytes so far: more may come, or the close ends it
  const int64_t epoch = protocol_ == Protocol::UnixTime ? kSeconds1900To1970 : 0;
  // A count of 0 is a server without a time of its own, not the first second of its epoch.
  if (readBigEndian32(*bytes, 0) == 0)
    return fail(ExchangeKind::UnreadableReply, std::string(protocolName(protocol_)) +
                                                   " reply refused: the server sent a count of 0");
  // The count in the era nearest the local clock: Time wraps in 2036, UnixTime in 2106.
  answerSeconds(nearestEra(readBigEndian32(*bytes, 0), utcSecondsNow() - epoch) + epoch);
}

void Exchange::readDayTime(bool serverClosed) {
  if (const auto piece = socket_->GetDataText()) dayTimeText_ += *piece;
  const size_t first = dayTimeText_.find_first_not_of(kBlank);
  // Read a line once it is complete, or whatever came once the server has closed.
  const bool complete =
      first != std::string::npos && dayTimeText_.find('\n', first) != std::string::npos;
  if (!complete && dayTimeText_.size() > kMaxDayTimeReply)
    return fail(ExchangeKind::UnreadableReply, "DayTime reply refused: more than " +
                                                   std::to_string(kMaxDayTimeReply) +
                                                   " characters without a line end");
  if (!complete && !serverClosed) return;
  const auto utc = readDayTimeReply(dayTimeText_, locale_, clock_.localTime().year);
  if (utc) return answerSeconds((oleMillisFromCivil(*utc) + 500) / 1000 - kOle1900InSeconds);
  const std::string line =
      first == std::string::npos
          ? std::string()
          : dayTimeText_.substr(first, dayTimeText_.find_last_not_of(kBlank) - first + 1);
  if (line.empty())
    return fail(ExchangeKind::UnreadableReply,
                "DayTime reply refused: the server closed the connection without a reply");
  ExchangeResult result = resultOf(ExchangeKind::UnreadableReply);
  result.why = "DayTime reply refused: not a date and time: \"" + replyForDisplay(line) + "\"";
  result.reply = line;
  finish(result);
}

void Exchange::readSntp(long bytesTotal) {
  const size_t wanted = static_cast<size_t>(std::max(bytesTotal, 0L)) + 1;
  const auto reply = socket_->GetDataBytes(std::max(wanted, sntp::kPacketSize + 1));
  if (!reply) return;
  const double t4 = utcMillisNow();
  const double arrived = monotonic_();
  // A datagram from another address, or one before our request left, is not the answer.
  if (!socket_->lastDatagramFromRemote() || !requestOut_) return;
  std::span<const uint8_t> packet = *reply;
  if (guard_) {
    if (const auto problem = guard_->replyProblem(packet))
      return fail(ExchangeKind::UnreadableReply, *problem);
    packet = packet.first(sntp::kPacketSize);  // the guard checked that it is there
  }
  const int64_t era = utcSecondsNow();  // the NTP count wraps in 2036
  ExchangeResult result = resultOf(ExchangeKind::Answer);
  if (const auto problem = sntpReplyProblem(packet, sent_)) {
    result.kissCode = sntpKissCode(packet);
    return refuseSntp(result, *problem);
  }
  result.stratum = packet[sntp::kStratumOffset];
  result.referenceId = sntpReferenceId(packet);
  result.t1 = t1_;
  result.t2 = GoMilli(packet, sntp::kReceiveOffset, era);
  result.t3 = GoMilli(packet, sntp::kTransmitOffset, era);
  result.t4 = t4;
  result.roundTripMillis = arrived - startedAt_;
  if (const auto problem = sntpDelayProblem(result.delayMillis()))
    return refuseSntp(result, *problem);
  finish(result);
}

// A refused reply keeps what it measured: the query tool shows the real delay of one.
void Exchange::refuseSntp(ExchangeResult& result, const std::string& why) {
  result.kind = ExchangeKind::UnreadableReply;
  result.why = why;
  finish(result);
}

void Exchange::answerSeconds(int64_t serverSeconds) {
  ExchangeResult result = resultOf(ExchangeKind::Answer);
  result.serverSeconds = serverSeconds;
  result.localSeconds = utcSecondsNow();
  result.roundTripMillis = monotonic_() - startedAt_;
  finish(result);
}

void Exchange::fail(ExchangeKind kind, const std::string& why) {
  if (!running()) return;
  ExchangeResult result = resultOf(kind);
  result.why = why.empty() ? "unknown socket error" : why;
  finish(result);
}

ExchangeResult Exchange::resultOf(ExchangeKind kind) const {
  ExchangeResult result;
  result.protocol = protocol_;
  result.host = host_;
  result.kind = kind;
  return result;
}

void Exchange::finish(ExchangeResult& result) {
  // One result per exchange: a duplicate or late reply finds nothing waiting.
  socket_->Close();
  Done done = std::move(done_);
  done_ = nullptr;
  done(result);
}

}  // namespace korvane::sync
