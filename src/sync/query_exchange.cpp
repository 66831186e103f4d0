#include "sync/query_exchange.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

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

}  // namespace

MonotonicMillis steadyMillis() {
  return [] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
  };
}

QueryExchange::QueryExchange(const platform::SystemClock& clock, const platform::Locale& locale,
                             platform::SocketFactory& sockets, MonotonicMillis monotonic)
    : clock_(clock), locale_(locale), monotonic_(std::move(monotonic)), socket_(sockets.create()) {
  // One socket for every exchange: closing it from inside its own event is safe, destroying it
  // there would not be.
  socket_->onDataArrival = [this](long n) { onData(n); };
  socket_->onClose = [this] { onPeerClose(); };
  socket_->onHostResolved = [this] { sendSntpRequest(); };
  socket_->onError = [this](const platform::SocketError& e) { fail(e.description); };
}

void QueryExchange::start(Protocol protocol, const std::string& host, Done done, int port) {
  socket_->Close();
  protocol_ = protocol;
  port_ = port > 0 ? port : protocolPort(protocol);
  done_ = std::move(done);
  bias_ = readZoneBias(clock_).seconds;
  dayTimeText_.clear();
  startedAt_ = monotonic_();
  if (protocol == Protocol::Sntp)
    startSntp(host);
  else
    startTcp(host);
}

void QueryExchange::startTcp(const std::string& host) {
  socket_->setProtocol(SocketProtocol::Tcp);
  socket_->setRemoteHost(text::trim(host));
  socket_->setRemotePort(port_);
  socket_->setLocalPort(0);
  socket_->Connect();
}

void QueryExchange::startSntp(const std::string& host) {
  socket_->setProtocol(SocketProtocol::Udp);
  socket_->setRemoteHost(text::trim(host));
  socket_->setRemotePort(port_);
  socket_->setLocalPort(0);
  if (const platform::SocketResult bound = socket_->Bind(); !bound.ok)
    return fail(bound.error.description);
  // T1 is taken once the host is known: a slow name look-up must not count as network delay.
  socket_->ResolveHost();
}

void QueryExchange::sendSntpRequest() {
  if (!running()) return;
  const platform::SystemTime local = clock_.localTime();
  sent_ = ntpTimestampOf(local, bias_);
  t1_ = static_cast<double>(utcMillisSince1900(local, bias_)) + 0.5;
  startedAt_ = monotonic_();
  const SntpPacket request = buildSntpRequest(sent_);
  if (const platform::SocketResult r = socket_->SendData({request.begin(), request.end()}); !r.ok)
    fail(r.error.description);
}

void QueryExchange::timeOut() {
  if (running()) fail("timed out");
}

void QueryExchange::onData(long bytesTotal) {
  if (!running()) return;
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

void QueryExchange::onPeerClose() {
  if (!running()) return;
  if (protocol_ == Protocol::DayTime) return readDayTime(true);
  fail(std::string(protocolName(protocol_)) +
       " reply refused: the server closed the connection before sending 4 bytes");
}

double QueryExchange::utcMillisNow() const {
  // The clock reads whole milliseconds, cut off: the moment lies half a millisecond later on
  // average, which would otherwise bias every offset by that much.
  return static_cast<double>(utcMillisSince1900(clock_.localTime(), bias_)) + 0.5;
}

int64_t QueryExchange::utcSecondsNow() const {
  return localSecondsSince1900(clock_.localTime()) + bias_;
}

void QueryExchange::readWholeSeconds() {
  const auto bytes = socket_->GetData4Bytes();
  if (!bytes) return;  // fewer than 4 bytes so far: more may come, or the close ends it
  const double arrived = monotonic_();
  const int64_t epoch = protocol_ == Protocol::UnixTime ? kSeconds1900To1970 : 0;
  // The count in the era nearest the local clock: Time wraps in 2036, UnixTime in 2106.
  const int64_t server = nearestEra(readBigEndian32(*bytes, 0), utcSecondsNow() - epoch) + epoch;
  succeed(static_cast<double>((server - utcSecondsNow()) * 1000), arrived - startedAt_);
}

void QueryExchange::readDayTime(bool serverClosed) {
  if (const auto piece = socket_->GetDataText()) dayTimeText_ += *piece;
  constexpr const char* kBlank = " \t\r\n";
  const size_t first = dayTimeText_.find_first_not_of(kBlank);
  // Read a line once it is complete, or whatever came once the server has closed.
  const bool complete =
      first != std::string::npos && dayTimeText_.find('\n', first) != std::string::npos;
  if (!complete && dayTimeText_.size() > kMaxDayTimeReply)
    return fail("DayTime reply refused: more than " + std::to_string(kMaxDayTimeReply) +
                " characters without a line end");
  if (!complete && !serverClosed) return;
  const std::string line =
      first == std::string::npos
          ? std::string()
          : dayTimeText_.substr(first, dayTimeText_.find_last_not_of(kBlank) - first + 1);
  const double arrived = monotonic_();
  const auto utc = readDayTimeReply(dayTimeText_, locale_);
  if (!utc) {
    if (line.empty())
      return fail("DayTime reply refused: the server closed the connection without a reply");
    return fail("DayTime reply refused: not a date and time: \"" + replyForDisplay(line) + "\"");
  }
  const int64_t server = (oleMillisFromCivil(*utc) + 500) / 1000 - kOle1900InSeconds;
  succeed(static_cast<double>((server - utcSecondsNow()) * 1000), arrived - startedAt_);
}

void QueryExchange::readSntp(long bytesTotal) {
  const size_t wanted = static_cast<size_t>(std::max(bytesTotal, 0L)) + 1;
  const auto reply = socket_->GetDataBytes(std::max(wanted, sntp::kPacketSize + 1));
  if (!reply) return;
  const double t4 = utcMillisNow();
  const double arrived = monotonic_();
  // A datagram from another address is not the answer: wait on for the server's.
  if (!socket_->lastDatagramFromRemote()) return;
  if (const auto problem = sntpReplyProblem(*reply, sent_)) return fail(*problem);
  const int64_t era = utcSecondsNow();  // the NTP count wraps in 2036
  const double t2 = GoMilli(*reply, sntp::kReceiveOffset, era);
  const double t3 = GoMilli(*reply, sntp::kTransmitOffset, era);
  // The round trip by the steady clock, less the time the server held the request.
  succeed(sntpOffsetMillis(t1_, t2, t3, t4), (arrived - startedAt_) - (t3 - t2));
}

void QueryExchange::succeed(double offsetMillis, double delayMillis) {
  finish({true, offsetMillis, std::max(0.0, delayMillis), {}});
}

void QueryExchange::fail(const std::string& why) {
  if (!running()) return;
  finish({false, 0, 0, why.empty() ? "unknown socket error" : why});
}

void QueryExchange::finish(const QueryOutcome& outcome) {
  socket_->Close();
  Done done = std::move(done_);
  done_ = nullptr;
  done(outcome);
}

namespace {

std::string threeDecimals(long long millis) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld.%03lld", millis / 1000, millis % 1000);
  return buffer;
}

}  // namespace

std::string signedSeconds(double millis) {
  const long long ms = std::llround(millis);
  return (ms < 0 ? "-" : "+") + threeDecimals(ms < 0 ? -ms : ms);
}

std::string unsignedSeconds(double millis) {
  return threeDecimals(std::max(0LL, std::llround(millis)));
}

std::string queryLine(const std::string& host, const std::string& protocol,
                      const QueryOutcome& outcome) {
  return host + " " + protocol + " offset " + signedSeconds(outcome.offsetMillis) + " s delay " +
         unsignedSeconds(outcome.delayMillis) + " s";
}

}  // namespace korvane::sync
