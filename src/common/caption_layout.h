// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Word wrapping of a caption with "&" access-key markers, for any text measurer.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// One drawn line: its text without markers and the index of its underlined character (-1: none).
struct CaptionLine {
  std::string text;
  int underline = -1;
  int width = 0;
};

struct CaptionBlock {
  std::vector<CaptionLine> lines;
  int width = 0;  // of the widest line
};

// The caption as shown: "&x" underlines x (the first one only), "&&" shows "&", "\r" is dropped.
struct CaptionText {
  std::string text;
  int underline = -1;
};
CaptionText stripAccessMarkers(std::string_view caption);

// Breaks the caption between words so that each line fits maxWidth where the words allow;
// a line break in the caption always breaks. widthOf measures a run of shown text.
CaptionBlock wrapCaption(std::string_view caption, int maxWidth,
                         const std::function<int(std::string_view)>& widthOf);

}  // namespace korvane
