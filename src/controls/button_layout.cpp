// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button_layout.h"

#include <cstdint>

#include "common/rounding.h"

namespace korvane::controls {

namespace {

constexpr int64_t kGap = 4;

// Start of a run of length size centred in [from, to); the division drops the remainder.
int64_t centred(int64_t from, int64_t to, int64_t size) {
  return from + ((to - from) - size) / 2;
}

// Sums are taken wide and saturated, so extreme sizes from a property bag cannot overflow.
Rect box(int64_t left, int64_t top, int64_t width, int64_t height) {
  return {saturateToInt32(left), saturateToInt32(top), saturateToInt32(left + width),
          saturateToInt32(top + height)};
}

}  // namespace

LayoutResult layoutButton(const LayoutInput& in) {
  LayoutResult out{{}, in.picture, in.shadow};
  const Rect& r = in.inner;
  const int64_t pw = in.pictureWidth;
  const int64_t ph = in.pictureHeight;
  const int64_t tw = in.textWidth;
  const int64_t th = in.textHeight;
  out.text = box(centred(r.left, r.right, tw), centred(r.top, r.bottom, th), tw, th);
  if (in.hasPicture && !in.hasCaption) {
    out.picture = box(centred(r.left, r.right, pw), centred(r.top, r.bottom, ph), pw, ph);
  } else if (in.hasPicture) {
    switch (in.picturePosition) {
      case 1: {
        const int64_t left = centred(r.left, r.right, pw + kGap + tw);
        out.picture = box(left, centred(r.top, r.bottom, ph), pw, ph);
        out.text = box(left + pw + kGap, centred(r.top, r.bottom, th), tw, th);
        break;
      }
      case 2: {
        const int64_t left = centred(r.left, r.right, tw + kGap + pw);
        out.text = box(left, centred(r.top, r.bottom, th), tw, th);
        out.picture = box(left + tw + kGap, centred(r.top, r.bottom, ph), pw, ph);
        break;
      }
      case 0: {
        const int64_t top = centred(r.top, r.bottom, ph + kGap + th);
        out.picture = box(centred(r.left, r.right, pw), top, pw, ph);
        out.text = box(centred(r.left, r.right, tw), top + ph + kGap, tw, th);
        break;
      }
      case 3: {
        const int64_t top = centred(r.top, r.bottom, ph + kGap + th);
        out.text = box(centred(r.left, r.right, tw), top, tw, th);
        out.picture = box(centred(r.left, r.right, pw), top + th + kGap, pw, ph);
        break;
      }
      default:
        break;
    }
  }
  if (in.buttonStyle == 2) out.shadow = out.picture.movedBy(1);
  return out;
}

}  // namespace korvane::controls
