// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Choosers answered by the test: each call is recorded and answered from the queue (cancel when
// it is empty).
#include <deque>
#include <vector>

#include "platform/pickers.h"

namespace korvane::platform {

class FakePickers : public Pickers {
 public:
  std::optional<FontChoice> pickFont(const ui::Form*, const FontChoice& initial, int minPoints,
                                     int maxPoints) override {
    fontRequests.push_back({initial, minPoints, maxPoints});
    return next(fontAnswers);
  }
  std::optional<Colour> pickColour(const ui::Form*, Colour initial,
                                   CustomColours& custom) override {
    colourRequests.push_back({initial, custom});
    if (customAfterPick) custom = *customAfterPick;
    return next(colourAnswers);
  }

  struct FontRequest {
    FontChoice initial;
    int minPoints;
    int maxPoints;
  };
  struct ColourRequest {
    Colour initial;
    CustomColours custom;
  };
  std::deque<std::optional<FontChoice>> fontAnswers;
  std::deque<std::optional<Colour>> colourAnswers;
  std::optional<CustomColours> customAfterPick;  // what the user leaves in the custom colours
  std::vector<FontRequest> fontRequests;
  std::vector<ColourRequest> colourRequests;

 private:
  template <class T>
  static std::optional<T> next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace korvane::platform
