#include "sync/nts_extension_fields.h"

#include <algorithm>

namespace korvane::sync {

using namespace ntpef;

namespace {

uint16_t read16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

void put16(std::vector<uint8_t>& out, size_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

size_t padded(size_t n) {
  return (n + kAlignment - 1) / kAlignment * kAlignment;
}

void appendPadded(std::vector<uint8_t>& out, std::span<const uint8_t> data) {
  out.insert(out.end(), data.begin(), data.end());
  out.resize(out.size() + padded(data.size()) - data.size(), 0);
}

}  // namespace

std::optional<std::vector<ExtensionField>> readExtensionFields(std::span<const uint8_t> packet,
                                                               size_t offset, std::string& why) {
  std::vector<ExtensionField> fields;
  while (offset < packet.size()) {
    if (packet.size() - offset < kHeaderSize) {
      why = "an extension field is cut short";
      return std::nullopt;
    }
    const size_t length = read16(packet, offset + 2);
    if (length < kMinFieldSize || length % kAlignment != 0 || length > packet.size() - offset) {
      why = "an extension field of " + std::to_string(length) + " bytes does not fit";
      return std::nullopt;
    }
    fields.push_back({read16(packet, offset), offset,
                      packet.subspan(offset + kHeaderSize, length - kHeaderSize)});
    offset += length;
  }
  return fields;
}

void appendExtensionField(std::vector<uint8_t>& out, uint16_t type, std::span<const uint8_t> body) {
  const size_t length = std::max(kMinFieldSize, kHeaderSize + padded(body.size()));
  put16(out, type);
  put16(out, length);
  out.insert(out.end(), body.begin(), body.end());
  out.resize(out.size() + length - kHeaderSize - body.size(), 0);
}

std::optional<AuthenticatorBody> readAuthenticator(std::span<const uint8_t> body) {
  if (body.size() < kAuthenticatorLengths) return std::nullopt;
  const size_t nonceLength = read16(body, 0);
  const size_t cipherLength = read16(body, 2);
  const size_t nonceAt = kAuthenticatorLengths;
  const size_t cipherAt = nonceAt + padded(nonceLength);
  if (nonceLength == 0 || cipherAt + padded(cipherLength) > body.size()) return std::nullopt;
  return AuthenticatorBody{body.subspan(nonceAt, nonceLength),
                           body.subspan(cipherAt, cipherLength)};
}

std::vector<uint8_t> authenticatorBody(std::span<const uint8_t> nonce,
                                       std::span<const uint8_t> ciphertext) {
  std::vector<uint8_t> out;
  put16(out, nonce.size());
  put16(out, ciphertext.size());
  appendPadded(out, nonce);
  appendPadded(out, ciphertext);
  return out;
}

}  // namespace korvane::sync
