// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/nts_records.h"

#include "common/big_endian.h"

namespace korvane::sync {

using namespace ntske;

namespace {

void putRecord(std::vector<uint8_t>& out, uint16_t type, std::span<const uint16_t> codes) {
  appendBigEndian16(out, type | kCritical);
  appendBigEndian16(out, static_cast<uint16_t>(codes.size() * kCodeSize));
  for (uint16_t c : codes) appendBigEndian16(out, c);
}

std::string errorText(uint16_t code) {
  switch (code) {
    case 0:
      return "the server did not recognise a critical record";
    case 1:
      return "the server found the request malformed";
    case 2:
      return "the server had an internal error";
    default:
      return "the server reported error " + std::to_string(code);
  }
}

// What one record adds to the response; why says what is wrong with it.
class Reader {
 public:
  bool take(uint16_t type, bool critical, std::span<const uint8_t> body) {
    switch (type) {
      case kNextProtocol:
        if (!once(seenProtocol_, "Next Protocol")) return false;
        if (body.size() != kCodeSize || readBigEndian16(body, 0) != kProtocolNtpV4)
          return fail("the server does not offer NTPv4");
        return true;
      case kError:
        return fail(body.size() == kCodeSize ? errorText(readBigEndian16(body, 0))
                                             : "the server reported an unreadable error");
      case kWarning:
        return fail(body.size() == kCodeSize
                        ? "the server warned of " + std::to_string(readBigEndian16(body, 0))
                        : "the server sent an unreadable warning");
      case kAeadAlgorithm:
        if (!once(seenAead_, "AEAD Algorithm")) return false;
        if (body.size() != kCodeSize || readBigEndian16(body, 0) != kAeadSivCmac256)
          return fail("the server does not offer AES-SIV-CMAC-256");
        return true;
      case kNewCookie:
        if (body.empty() || body.size() > kMaxCookie)
          return fail("a cookie of " + std::to_string(body.size()) + " bytes");
        if (response.cookies.size() < kMaxCookies)
          response.cookies.emplace_back(body.begin(), body.end());
        return true;
      case kServer:
        if (!once(seenServer_, "Server")) return false;
        if (body.empty() || body.size() > kMaxServerName) return fail("an unreadable server name");
        for (uint8_t c : body)
          if (c <= ' ' || c > '~') return fail("an unreadable server name");
        response.server.assign(body.begin(), body.end());
        return true;
      case kPort:
        if (!once(seenPort_, "Port")) return false;
        if (body.size() != kCodeSize || readBigEndian16(body, 0) == 0)
          return fail("an unreadable port");
        response.port = readBigEndian16(body, 0);
        return true;
      default:
        return !critical || fail("a critical record of unknown type " + std::to_string(type));
    }
  }

  bool finish() {
    if (!seenProtocol_) return fail("no Next Protocol record");
    if (!seenAead_) return fail("no AEAD Algorithm record");
    if (response.cookies.empty()) return fail("no cookie");
    return true;
  }

  NtsKeResponse response;
  std::string why;

 private:
  bool once(bool& seen, const char* name) {
    if (seen) return fail(std::string("a second ") + name + " record");
    seen = true;
    return true;
  }
  bool fail(std::string text) {
    why = std::move(text);
    return false;
  }

  bool seenProtocol_ = false, seenAead_ = false, seenServer_ = false, seenPort_ = false;
};

NtsKeParse failed(const std::string& why) {
  return {NtsKeParse::State::Failed, {}, "NTS key establishment refused: " + why};
}

}  // namespace

std::vector<uint8_t> buildNtsKeRequest() {
  std::vector<uint8_t> out;
  const uint16_t protocol[] = {kProtocolNtpV4};
  const uint16_t aead[] = {kAeadSivCmac256};
  putRecord(out, kNextProtocol, protocol);
  putRecord(out, kAeadAlgorithm, aead);
  putRecord(out, kEndOfMessage, {});
  return out;
}

NtsKeParse parseNtsKeResponse(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxResponse)
    return failed("more than " + std::to_string(kMaxResponse) + " bytes");
  Reader reader;
  size_t at = 0;
  while (at + kHeaderSize <= bytes.size()) {
    const uint16_t word = readBigEndian16(bytes, at);
    const size_t length = readBigEndian16(bytes, at + 2);
    if (at + kHeaderSize + length > bytes.size()) break;  // the record is still arriving
    const auto body = bytes.subspan(at + kHeaderSize, length);
    at += kHeaderSize + length;
    const uint16_t type = word & ~kCritical;
    if (type == kEndOfMessage) {
      if (length != 0) return failed("an End of Message record with a body");
      if (at != bytes.size()) return failed("data after End of Message");
      if (!reader.finish()) return failed(reader.why);
      return {NtsKeParse::State::Complete, std::move(reader.response), {}};
    }
    if (!reader.take(type, (word & kCritical) != 0, body)) return failed(reader.why);
  }
  return {};
}

std::vector<uint8_t> ntsExporterContext(bool serverToClient) {
  std::vector<uint8_t> out;
  appendBigEndian16(out, kProtocolNtpV4);
  appendBigEndian16(out, kAeadSivCmac256);
  out.push_back(serverToClient ? 1 : 0);
  return out;
}

}  // namespace korvane::sync
