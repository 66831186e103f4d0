// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's font and colour dialogs answered on the offscreen platform: what goes in, what comes back,
// and the custom colours kept across the dialog.
#include "platform/qt/qt_pickers.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QTimer>
#include <functional>

#include "platform/qt/offscreen_app.h"

namespace korvane::platform {
namespace {

// Runs answer on the dialog of type D once it is open (inside its own event loop).
template <class D>
void whenOpen(std::function<void(D&)> answer, int triesLeft = 100) {
  QTimer::singleShot(triesLeft == 100 ? 0 : 10, [answer, triesLeft] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<D*>(w); d && d->isVisible()) return answer(*d);
    if (triesLeft > 0) return whenOpen<D>(answer, triesLeft - 1);
    ADD_FAILURE() << "no dialog open";
  });
}

class QtPickersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::offscreenApp(); }
  QtPickers pickers;
};

TEST_F(QtPickersTest, ColourDialogStartsFromTheValuesAndKeepsTheCustomColours) {
  CustomColours custom{};
  custom[0] = makeColour(255, 0, 0);
  custom[1] = makeColour(0, 0, 255);
  QColor seenStart, seenCustom1;
  whenOpen<QColorDialog>([&](QColorDialog& d) {
    seenStart = d.currentColor();
    seenCustom1 = QColorDialog::customColor(1);
    QColorDialog::setCustomColor(5, QColor(1, 2, 3));  // as the user adds one
    d.setCurrentColor(QColor(10, 20, 30));
    d.accept();
  });
  EXPECT_EQ(pickers.pickColour(nullptr, makeColour(0x99, 0x66, 0x33), custom),
            makeColour(10, 20, 30));
  EXPECT_EQ(seenStart, QColor(0x99, 0x66, 0x33));
  EXPECT_EQ(seenCustom1, QColor(0, 0, 255));
  EXPECT_EQ(custom[0], makeColour(255, 0, 0));
  EXPECT_EQ(custom[5], makeColour(1, 2, 3));

  whenOpen<QColorDialog>([](QColorDialog& d) {
    QColorDialog::setCustomColor(6, QColor(4, 5, 6));
    d.reject();
  });
  EXPECT_EQ(pickers.pickColour(nullptr, 0, custom), std::nullopt);
  EXPECT_EQ(custom[6], makeColour(4, 5, 6)) << "kept although no colour was chosen";
  EXPECT_EQ(custom[5], makeColour(1, 2, 3));
}

TEST_F(QtPickersTest, FontDialogLimitsTheSizeAndKeepsWhatItDoesNotShow) {
  Pickers::FontChoice initial{{"Liberation Mono", 10, false, false, true, true, 2},
                              makeColour(1, 2, 3)};
  struct Case {
    double chosenPoints;
    double expected;
  };
  for (const Case c : {Case{72, 36}, Case{4, 8}, Case{12, 12}}) {
    bool startedUnderlined = false;
    whenOpen<QFontDialog>([&](QFontDialog& d) {
      QFont f = d.currentFont();
      startedUnderlined = f.underline() && f.strikeOut();
      f.setPointSizeF(c.chosenPoints);
      f.setStyleName(QStringLiteral("Bold"));  // as the user picks a style
      d.setCurrentFont(f);
      d.accept();
    });
    whenOpen<QColorDialog>([](QColorDialog& d) { d.reject(); });  // the text colour stays
    const auto chosen = pickers.pickFont(nullptr, initial, 8, 36);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(startedUnderlined);
    EXPECT_EQ(chosen->font.size, c.expected);
    EXPECT_TRUE(chosen->font.bold);
    EXPECT_TRUE(chosen->font.underline);
    EXPECT_EQ(chosen->font.charset, 2);
    EXPECT_EQ(chosen->colour, makeColour(1, 2, 3));
  }
  whenOpen<QFontDialog>([](QFontDialog& d) { d.reject(); });
  EXPECT_FALSE(pickers.pickFont(nullptr, initial, 8, 36));
}

TEST_F(QtPickersTest, TheFontIsFollowedByItsTextColour) {
  QColor seenStart;
  QString seenTitle;
  whenOpen<QFontDialog>([](QFontDialog& d) { d.accept(); });
  whenOpen<QColorDialog>([&](QColorDialog& d) {
    seenStart = d.currentColor();
    seenTitle = d.windowTitle();
    d.setCurrentColor(QColor(200, 10, 20));
    d.accept();
  });
  const auto chosen =
      pickers.pickFont(nullptr, {{"Liberation Sans", 10}, makeColour(1, 2, 3)}, 8, 36);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->colour, makeColour(200, 10, 20));
  EXPECT_EQ(seenStart, QColor(1, 2, 3));
  EXPECT_EQ(seenTitle, QStringLiteral("Select Text Color"));
}

}  // namespace
}  // namespace korvane::platform
