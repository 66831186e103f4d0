// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text as fixed boxes: every character is a cell of kCellWidth x kLineHeight pixels, and every
// visible character a solid box in it, so tests can find each glyph by its pixels.
#include "common/caption_layout.h"
#include "platform/text_renderer.h"

namespace korvane::platform {

class FakeTextRenderer : public TextRenderer {
 public:
  static constexpr int kCellWidth = 6;
  static constexpr int kLineHeight = 13;
  // The solid box of a glyph within its cell: columns [0, 5), rows [2, 11); underline row 12.
  static constexpr Rect kGlyphBox{0, 2, 5, 11};
  static constexpr int kUnderlineRow = 12;

  TextSize measure(std::string_view caption, const Font& font, int width,
                   const TextMargins& margins) const override;
  void draw(Raster& raster, const Rect& r, std::string_view caption, const Font& font, Colour rgb,
            const TextMargins& margins) const override;

  // How often a caption was measured: what a control spends on text before it is shown.
  mutable int measured = 0;
};

namespace fake_text {
inline int widthOf(std::string_view s) {
  return static_cast<int>(s.size()) * FakeTextRenderer::kCellWidth;
}
}  // namespace fake_text

inline TextSize FakeTextRenderer::measure(std::string_view caption, const Font&, int width,
                                          const TextMargins& margins) const {
  ++measured;
  if (caption.empty()) return {};
  const CaptionBlock block =
      wrapCaption(caption, width - margins.left - margins.right, fake_text::widthOf);
  return {block.width + margins.left + margins.right,
          static_cast<int>(block.lines.size()) * kLineHeight};
}

inline void FakeTextRenderer::draw(Raster& raster, const Rect& r, std::string_view caption,
                                   const Font&, Colour rgb, const TextMargins& margins) const {
  if (caption.empty()) return;
  const int left = r.left + margins.left;
  const int avail = r.width() - margins.left - margins.right;
  const CaptionBlock block = wrapCaption(caption, avail, fake_text::widthOf);
  const int blockHeight = static_cast<int>(block.lines.size()) * kLineHeight;
  int y = r.top + (r.height() > blockHeight ? (r.height() - blockHeight) / 2 : 0);
  for (const CaptionLine& line : block.lines) {
    const int x = left + (avail - line.width) / 2;
    for (size_t k = 0; k < line.text.size(); ++k) {
      const int cx = x + static_cast<int>(k) * kCellWidth;
      if (line.text[k] != ' ')
        raster.fill(
            {cx + kGlyphBox.left, y + kGlyphBox.top, cx + kGlyphBox.right, y + kGlyphBox.bottom},
            rgb);
      if (static_cast<int>(k) == line.underline)
        raster.line(cx, y + kUnderlineRow, cx + kCellWidth, y + kUnderlineRow, rgb);
    }
    y += kLineHeight;
  }
}

}  // namespace korvane::platform
