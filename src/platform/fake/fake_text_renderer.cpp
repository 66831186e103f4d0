#include "platform/fake/fake_text_renderer.h"

#include "common/caption_layout.h"

namespace korvane::platform {

namespace {
int widthOf(std::string_view s) {
  return static_cast<int>(s.size()) * FakeTextRenderer::kCellWidth;
}
}  // namespace

TextSize FakeTextRenderer::measure(std::string_view caption, const Font&, int width,
                                   const TextMargins& margins) const {
  if (caption.empty()) return {};
  const CaptionBlock block = wrapCaption(caption, width - margins.left - margins.right, widthOf);
  return {block.width + margins.left + margins.right,
          static_cast<int>(block.lines.size()) * kLineHeight};
}

void FakeTextRenderer::draw(Raster& raster, const Rect& r, std::string_view caption, const Font&,
                            Colour rgb, const TextMargins& margins) const {
  if (caption.empty()) return;
  const int left = r.left + margins.left;
  const int avail = r.width() - margins.left - margins.right;
  const CaptionBlock block = wrapCaption(caption, avail, widthOf);
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
