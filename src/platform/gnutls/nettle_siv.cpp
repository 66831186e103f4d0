// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gnutls/nettle_siv.h"

#include <nettle/aes.h>
#include <nettle/cmac.h>
#include <nettle/ctr.h>
#include <nettle/memops.h>

#include <algorithm>

namespace korvane::platform {

namespace {

using Block = std::array<uint8_t, 16>;
constexpr size_t kHalf = SivAead::kKeySize / 2;

// Doubling in GF(2^128) (RFC 5297 section 2.3).
Block dbl(const Block& in) {
  Block out{};
  for (size_t i = 0; i < 16; ++i)
    out[i] = static_cast<uint8_t>((in[i] << 1) | (i + 1 < 16 ? in[i + 1] >> 7 : 0));
  if (in[0] & 0x80) out[15] ^= 0x87;
  return out;
}

Block cmac(const uint8_t* key, std::span<const uint8_t> data) {
  cmac_aes128_ctx ctx;
  cmac_aes128_set_key(&ctx, key);
  cmac_aes128_update(&ctx, data.size(), data.data());
  Block out;
  cmac_aes128_digest(&ctx, out.size(), out.data());
  return out;
}

void xorInto(Block& d, const Block& s) {
  for (size_t i = 0; i < 16; ++i) d[i] ^= s[i];
}

// S2V over the associated strings and then the plaintext (RFC 5297 section 2.4).
Block s2v(const uint8_t* key, SivAead::Strings associated, std::span<const uint8_t> last) {
  Block d = cmac(key, Block{});
  for (const auto& s : associated) {
    d = dbl(d);
    xorInto(d, cmac(key, s));
  }
  if (last.size() >= 16) {
    std::vector<uint8_t> t(last.begin(), last.end());
    for (size_t i = 0; i < 16; ++i) t[t.size() - 16 + i] ^= d[i];
    return cmac(key, t);
  }
  Block padded{};
  std::copy(last.begin(), last.end(), padded.begin());
  padded[last.size()] = 0x80;
  d = dbl(d);
  xorInto(d, padded);
  return cmac(key, d);
}

void ctr(const uint8_t* key, const Block& iv, std::span<const uint8_t> in, uint8_t* out) {
  Block counter = iv;
  // The 31st and 63rd bits from the right are cleared (RFC 5297 section 2.5).
  counter[8] &= 0x7f;
  counter[12] &= 0x7f;
  aes128_ctx ctx;
  aes128_set_encrypt_key(&ctx, key);
  ctr_crypt(&ctx, reinterpret_cast<nettle_cipher_func*>(aes128_encrypt), AES_BLOCK_SIZE,
            counter.data(), in.size(), out, in.data());
}

}  // namespace

std::vector<uint8_t> NettleSiv::seal(const Key& key, Strings associated,
                                     std::span<const uint8_t> plaintext) const {
  const Block iv = s2v(key.data(), associated, plaintext);
  std::vector<uint8_t> out(kTagSize + plaintext.size());
  std::copy(iv.begin(), iv.end(), out.begin());
  if (!plaintext.empty()) ctr(key.data() + kHalf, iv, plaintext, out.data() + kTagSize);
  return out;
}

std::optional<std::vector<uint8_t>> NettleSiv::open(const Key& key, Strings associated,
                                                    std::span<const uint8_t> sealed) const {
  if (sealed.size() < kTagSize) return std::nullopt;
  Block iv;
  std::copy_n(sealed.begin(), kTagSize, iv.begin());
  std::vector<uint8_t> plain(sealed.size() - kTagSize);
  if (!plain.empty()) ctr(key.data() + kHalf, iv, sealed.subspan(kTagSize), plain.data());
  const Block check = s2v(key.data(), associated, plain);
  if (!memeql_sec(check.data(), iv.data(), kTagSize)) return std::nullopt;
  return plain;
}

}  // namespace korvane::platform
