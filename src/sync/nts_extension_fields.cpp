// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/nts_extension_fields.h"

#include <algorithm>

#include "common/big_endian.h"

namespace korvane::sync {

using namespace ntpef;

namespace {

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
    const size_t length = readBigEndian16(packet, offset + 2);
    if (length < kMinFieldSize || length % kAlignment != 0 || length > packet.size() - offset) {
      why = "an extension field of " + std::to_string(length) + " bytes does not fit";
      return std::nullopt;
    }
    fields.push_back({readBigEndian16(packet, offset), offset,
                      packet.subspan(offset + kHeaderSize, length - kHeaderSize)});
    offset += length;
  }
  return fields;
}

void appendExtensionField(std::vector<uint8_t>& out, uint16_t type, std::span<const uint8_t> body) {
  const size_t length = std::max(kMinFieldSize, kHeaderSize + padded(body.size()));
  appendBigEndian16(out, type);
  appendBigEndian16(out, length);
  out.insert(out.end(), body.begin(), body.end());
  out.resize(out.size() + length - kHeaderSize - body.size(), 0);
}

std::optional<AuthenticatorBody> readAuthenticator(std::span<const uint8_t> body) {
  if (body.size() < kAuthenticatorLengths) return std::nullopt;
  const size_t nonceLength = readBigEndian16(body, 0);
  const size_t cipherLength = readBigEndian16(body, 2);
  const size_t nonceAt = kAuthenticatorLengths;
  const size_t cipherAt = nonceAt + padded(nonceLength);
  if (nonceLength == 0 || cipherAt + padded(cipherLength) > body.size()) return std::nullopt;
  return AuthenticatorBody{body.subspan(nonceAt, nonceLength),
                           body.subspan(cipherAt, cipherLength)};
}

std::vector<uint8_t> authenticatorBody(std::span<const uint8_t> nonce,
                                       std::span<const uint8_t> ciphertext) {
  std::vector<uint8_t> out;
  appendBigEndian16(out, nonce.size());
  appendBigEndian16(out, ciphertext.size());
  appendPadded(out, nonce);
  appendPadded(out, ciphertext);
  return out;
}

}  // namespace korvane::sync
