// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/gif_blocks.h"

#include <cstddef>
#include <cstdint>

namespace korvane::platform {

namespace {

constexpr size_t kHeaderAndScreen = 13;  // "GIF89a" and the logical screen descriptor
constexpr size_t kImageDescriptor = 9;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kColourTableFlag = 0x80;

class Blocks {
 public:
  explicit Blocks(std::string_view bytes) : bytes_(bytes) {}
  bool skip(size_t n) {
    if (n > bytes_.size() - pos_) return false;
    pos_ += n;
    return true;
  }
  bool byte(uint8_t& out) {
    if (pos_ >= bytes_.size()) return false;
    out = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  uint8_t at(size_t offset) const { return static_cast<uint8_t>(bytes_[offset]); }
  size_t pos() const { return pos_; }
  // A colour table of 2^(bits + 1) entries of 3 bytes, when flagged.
  bool skipColourTable(uint8_t packed) {
    return !(packed & kColourTableFlag) || skip(size_t{3} << ((packed & 7) + 1));
  }
  // Data sub-blocks up to and with their zero-length terminator.
  bool skipSubBlocks() {
    for (uint8_t length = 0;;) {
      if (!byte(length)) return false;
      if (length == 0) return true;
      if (!skip(length)) return false;
    }
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace

bool gifFirstImageComplete(std::string_view bytes) {
  if (bytes.size() < kHeaderAndScreen || bytes.substr(0, 4) != "GIF8") return false;
  Blocks blocks(bytes);
  if (!blocks.skip(kHeaderAndScreen) || !blocks.skipColourTable(blocks.at(10))) return false;
  for (uint8_t kind = 0;;) {
    if (!blocks.byte(kind)) return false;
    if (kind == kExtension) {
      uint8_t label = 0;
      if (!blocks.byte(label) || !blocks.skipSubBlocks()) return false;
    } else if (kind == kImage) {
      const size_t descriptor = blocks.pos();
      uint8_t codeSize = 0;
      return blocks.skip(kImageDescriptor) &&
             blocks.skipColourTable(blocks.at(descriptor + kImageDescriptor - 1)) &&
             blocks.byte(codeSize) && blocks.skipSubBlocks();
    } else {
      return false;  // the trailer before any picture, or no block at all
    }
  }
}

}  // namespace korvane::platform
