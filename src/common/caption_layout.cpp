// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/caption_layout.h"

#include <algorithm>

namespace korvane {

CaptionText stripAccessMarkers(std::string_view caption) {
  CaptionText out;
  for (size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '\r') continue;
    if (c != '&') {
      out.text += c;
      continue;
    }
    if (i + 1 >= caption.size()) break;  // a trailing marker shows nothing
    if (caption[i + 1] == '&') {
      out.text += '&';
      ++i;
      continue;
    }
    if (out.underline < 0) out.underline = static_cast<int>(out.text.size());
  }
  return out;
}

namespace {

class Wrapper {
 public:
  Wrapper(const CaptionText& shown, int maxWidth,
          const std::function<int(std::string_view)>& widthOf)
      : s_(shown), max_(maxWidth), widthOf_(widthOf) {}

  CaptionBlock run() {
    size_t pos = 0;
    for (;;) {
      const size_t nl = s_.text.find('\n', pos);
      const size_t end = nl == std::string::npos ? s_.text.size() : nl;
      paragraph(pos, end);
      if (nl == std::string::npos) break;
      pos = nl + 1;
    }
    return std::move(block_);
  }

 private:
  int widthOf(size_t from, size_t to) const {
    return widthOf_(std::string_view(s_.text).substr(from, to - from));
  }

  void paragraph(size_t start, size_t end) {
    size_t lineStart = start;
    size_t lineEnd = start;
    bool hasWord = false;
    size_t i = start;
    for (;;) {
      const size_t space = s_.text.find(' ', i);
      const size_t wordEnd = std::min(space == std::string::npos ? end : space, end);
      if (!hasWord) {
        lineEnd = wordEnd;
        hasWord = true;
      } else if (widthOf(lineStart, wordEnd) <= max_) {
        lineEnd = wordEnd;
      } else {
        emit(lineStart, lineEnd);
        lineStart = i;
        lineEnd = wordEnd;
      }
      if (wordEnd >= end) break;
      i = wordEnd + 1;
    }
    emit(lineStart, lineEnd);
  }

  void emit(size_t from, size_t to) {
    CaptionLine line;
    line.text = s_.text.substr(from, to - from);
    const int u = s_.underline;
    if (u >= static_cast<int>(from) && u < static_cast<int>(to))
      line.underline = u - static_cast<int>(from);
    line.width = widthOf(from, to);
    block_.width = std::max(block_.width, line.width);
    block_.lines.push_back(std::move(line));
  }

  const CaptionText& s_;
  int max_;
  const std::function<int(std::string_view)>& widthOf_;
  CaptionBlock block_;
};

}  // namespace

CaptionBlock wrapCaption(std::string_view caption, int maxWidth,
                         const std::function<int(std::string_view)>& widthOf) {
  if (caption.empty()) return {};
  const CaptionText shown = stripAccessMarkers(caption);
  return Wrapper(shown, maxWidth, widthOf).run();
}

}  // namespace korvane
