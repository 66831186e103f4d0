// SPDX-License-Identifier: GPL-3.0-or-later
// One child widget per control kind, and the user's actions fed back as control events.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/qt/form_host.h"
#include "platform/qt/image_combo_items.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/qt_pictures.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/image_combo.h"
#include "platform/ui/label.h"
#include "platform/ui/option_button.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_box.h"

namespace korvane::platform {

namespace {

// Key presses of an edit field go to the model's KeyPress first: it may cancel the character
// (0) or replace it. The focus moving to another control raises lostFocus, when given.
class KeyPressFilter : public QObject {
 public:
  KeyPressFilter(QObject* parent, ui::Event<int&>& keyPress, QLineEdit* edit,
                 ui::Event<>* lostFocus = nullptr)
      : QObject(parent), keyPress_(keyPress), edit_(edit), lostFocus_(lostFocus) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && lostFocus_) {
      // Another application's window or a popup taking the keys is no move inside the program.
      const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
      if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
        QMetaObject::invokeMethod(
            this,
            [this] {
              if (edit_->isVisible()) (*lostFocus_)();
            },
            Qt::QueuedConnection);
    }
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      code = 13;
    else if (key->key() == Qt::Key_Backspace)
      code = 8;
    else if (!key->text().isEmpty() && key->text().at(0).unicode() < 256)
      code = key->text().at(0).unicode();
    if (code == 0) return false;
    const int typed = code;
    keyPress_(code);
    if (code == 0) return true;
    if (code != typed && code >= 32) {
      edit_->insert(QString(QChar(code)));
      emit edit_->textEdited(edit_->text());
      return true;
    }
    return false;
  }

 private:
  ui::Event<int&>& keyPress_;
  QLineEdit* edit_;
  ui::Event<>* lostFocus_;
};

QString plainLines(const std::string& text) {
  QString s = toQString(text);
  s.remove(QLatin1Char('\r'));
  return s;
}

// Shows text in a plain text box. Where the line count stays, only the lines that differ are
// replaced: the clock box changes one line a second, and a whole new document each time (its
// layout and shaping redone) was most of the idle program's work.
void showPlainText(QPlainTextEdit* w, const QString& text) {
  const QString shown = w->toPlainText();
  if (shown == text) return;
  const QSignalBlocker block(w);
  const QStringList was = shown.split(QLatin1Char('\n'));
  const QStringList now = text.split(QLatin1Char('\n'));
  QTextDocument* doc = w->document();
  if (was.size() != now.size() || doc->blockCount() != now.size()) return w->setPlainText(text);
  // As setPlainText does, a text set by the program leaves nothing to undo (nor a growing stack).
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  for (int i = 0; i < now.size(); ++i) {
    if (was[i] == now[i]) continue;
    const QTextBlock line = doc->findBlockByNumber(i);
    cursor.setPosition(line.position());
    cursor.setPosition(line.position() + line.length() - 1, QTextCursor::KeepAnchor);
    cursor.insertText(now[i]);
  }
  cursor.endEditBlock();
  doc->setUndoRedoEnabled(undo);
}

// A bordered frame as a classic form draws it: a thin line with the caption set into its top
// edge. Painted here rather than through a style sheet, which would restyle every control inside
// and slow each of their paints (the clock box repaints every second).
class CaptionedFrame : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    QRect caption;
    if (!title().isEmpty())
      caption = QRect(8, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.setClipRegion(QRegion(rect()) - QRegion(caption.adjusted(-2, 0, 2, 0)));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, lineY + 0.5, -0.5, -0.5), 2, 2);
    if (caption.isNull()) return;
    painter.setClipping(false);
    style()->drawItemText(&painter, caption, Qt::AlignLeft | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
  }
};

Qt::Alignment toQt(ui::Alignment a) {
  switch (a) {
    case ui::Alignment::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case ui::Alignment::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

ControlBinding bindButton(ui::CommandButton& m, QWidget* parent, FormHost&) {
  auto* w = new QPushButton(parent);
  QObject::connect(w, &QPushButton::clicked, [&m] { m.click(); });
  return {&m, w, [&m, w] { w->setText(toQString(m.caption())); }};
}

ControlBinding bindCheckBox(ui::CheckBox& m, QWidget* parent, FormHost&) {
  auto* w = new QCheckBox(parent);
  QObject::connect(w, &QCheckBox::clicked, [&m](bool on) { m.setValue(on ? 1 : 0); });
  return {&m, w, [&m, w] {
            const QSignalBlocker block(w);
            w->setText(toQString(m.caption()));
            w->setChecked(m.value() == 1);
          }};
}

// Gives a widget the size it needs and tells its model, which keeps its position.
void sizeItself(ui::Control& m, QWidget* w, QSize size) {
  if (w->size() != size) w->resize(size);
  const int tpp = twipsPerPixel();
  const ui::TwipsRect& g = m.geometry();
  m.noteGeometry({g.left, g.top, size.width() * tpp, size.height() * tpp});
}

namespace {
// The label's font, made smaller until its caption fits the label's width on one line.
void fitOnOneLine(const ui::Label& m, QLabel& w) {
  QFont f = toQFont(m.font());
  const int room = std::max(1, w.width() - 2 * w.margin() - 4);
  while (f.pointSizeF() > 4 && QFontMetrics(f).horizontalAdvance(w.text()) > room)
    f.setPointSizeF(f.pointSizeF() * 0.9);
  w.setFont(f);
}
}  // namespace

ControlBinding bindLabel(ui::Label& m, QWidget* parent, FormHost&) {
  auto* w = new QLabel(parent);
  return {&m, w, [&m, w, wasTransparent = false]() mutable {
            w->setText(toQString(m.caption()));
            w->setAlignment(toQt(m.alignment()));
            w->setWordWrap(!m.autoSize() && !m.shrinkToFit());
            if (m.shrinkToFit()) fitOnOneLine(m, *w);
            // What lies under a transparent label shows through; the mouse still reaches it.
            if (m.transparent())
              w->setAutoFillBackground(false);
            else if (wasTransparent)
              w->setAutoFillBackground(m.backColor() != ui::kDefaultColour);
            wasTransparent = m.transparent();
            if (m.autoSize()) sizeItself(m, w, w->fontMetrics().size(0, w->text()));
          }};
}

// Arrow keys move to the next option button of the same container and set it, wrapping at
// the ends, as in any option group; Qt does that only for its own exclusive groups.
class OptionArrowKeys : public QObject {
 public:
  explicit OptionArrowKeys(QRadioButton* button) : QObject(button), button_(button) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    if (step == 0) return false;
    QWidget* container = button_->parentWidget();
    QList<QRadioButton*> group;
    for (QRadioButton* r : container->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
      if (r == button_ || (r->isVisibleTo(container) && r->isEnabled())) group << r;
    const qsizetype at = group.indexOf(button_);
    QRadioButton* next = group[(at + step + group.size()) % group.size()];
    next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    if (next != button_) next->click();
    return true;
  }

 private:
  QRadioButton* button_;
};

ControlBinding bindOptionButton(ui::OptionButton& m, QWidget* parent, FormHost&) {
  auto* w = new QRadioButton(parent);
  // The model may leave a group with none set, which Qt's own exclusive grouping refuses.
  w->setAutoExclusive(false);
  w->installEventFilter(new OptionArrowKeys(w));
  QObject::connect(w, &QRadioButton::clicked, [&m, w] {
    m.setValue(true);
    const QSignalBlocker block(w);
    w->setChecked(m.value());  // a click on the set button leaves it set
  });
  return {&m, w, [&m, w] {
            const QSignalBlocker block(w);
            w->setText(toQString(m.caption()));
            w->setChecked(m.value());
          }};
}

ControlBinding bindSlider(ui::Slider& m, QWidget* parent, FormHost&) {
  auto* w = new QSlider(Qt::Horizontal, parent);
  w->setTickPosition(QSlider::TicksBelow);
  QObject::connect(w, &QSlider::sliderMoved, [&m](int v) { m.scrollTo(v); });
  QObject::connect(w, &QSlider::sliderReleased, [&m, w] { m.release(w->value()); });
  // A click on the track or a key moves the value without a drag.
  QObject::connect(w, &QSlider::valueChanged, [&m, w](int v) {
    if (!w->isSliderDown()) m.setValue(v);
  });
  return {&m, w, [&m, w] {
            const QSignalBlocker block(w);
            w->setRange(m.min(), m.max());
            w->setSingleStep(m.smallChange());
            w->setPageStep(m.largeChange());
            w->setTickInterval(m.tickFrequency());
            w->setValue(m.value());
          }};
}

ControlBinding bindPictureBox(ui::PictureBox& m, QWidget* parent, FormHost& host) {
  auto* w = new PictureWidget(m, parent);
  host.keep(m.Refreshed.connect([w] { w->showPicture(); }));
  return {&m, w, [] {}};
}

ControlBinding bindFrame(ui::Frame& m, QWidget* parent, FormHost&) {
  if (m.border()) {
    auto* box = new CaptionedFrame(parent);
    return {&m, box, [&m, box] { box->setTitle(toQString(m.caption())); }};
  }
  auto* plain = new QFrame(parent);
  return {&m, plain, [] {}};
}

ControlBinding bindTextBox(ui::TextBox& m, QWidget* parent, FormHost&) {
  if (m.multiLine()) {
    auto* w = new QPlainTextEdit(parent);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w->setLineWrapMode(QPlainTextEdit::NoWrap);
    w->document()->setDocumentMargin(1);
    QObject::connect(w, &QPlainTextEdit::textChanged, [&m, w] {
      if (!m.locked()) m.setText(w->toPlainText().toStdString());
    });
    return {&m, w, [&m, w] {
              w->setReadOnly(m.locked());
              showPlainText(w, plainLines(m.text()));
            }};
  }
  auto* w = new QLineEdit(parent);
  w->installEventFilter(new KeyPressFilter(w, m.KeyPress, w, &m.LostFocus));
  QObject::connect(w, &QLineEdit::textEdited,
                   [&m](const QString& t) { m.setText(t.toStdString()); });
  return {&m, w, [&m, w] {
            w->setReadOnly(m.locked());
            const QString t = toQString(m.text());
            if (w->text() != t) w->setText(t);
          }};
}

ControlBinding bindComboBox(ui::ComboBox& m, QWidget* parent, FormHost&) {
  auto* w = new QComboBox(parent);
  w->setEditable(!m.listOnly());
  w->setInsertPolicy(QComboBox::NoInsert);
  if (QLineEdit* edit = w->lineEdit()) {
    edit->installEventFilter(new KeyPressFilter(w, m.KeyPress, edit));
    QObject::connect(edit, &QLineEdit::textEdited,
                     [&m](const QString& t) { m.setText(t.toStdString()); });
  }
  QObject::connect(w, &QComboBox::activated, [&m](int index) { m.choose(index); });
  return {&m, w, [&m, w] {
            const QSignalBlocker block(w);
            QStringList items;
            for (const std::string& item : m.items()) items << toQString(item);
            QStringList shown;
            for (int i = 0; i < w->count(); ++i) shown << w->itemText(i);
            if (shown != items) {
              w->clear();
              w->addItems(items);
            }
            const QString text = toQString(m.text());
            w->setEditable(!m.listOnly());
            if (!m.listOnly()) {
              // A text set by code selects its entry, so the arrows and the list start from it.
              if (w->currentText() == text) return;
              const int entry = w->findText(text, Qt::MatchExactly);
              if (entry >= 0)
                w->setCurrentIndex(entry);
              else
                w->setEditText(text);
              return;
            }
            // A list shows the entry of its text; a text that is none shows as a placeholder.
            w->setCurrentIndex(w->findText(text, Qt::MatchExactly));
            w->setPlaceholderText(text);
          }};
}

ControlBinding bindImageBox(ui::ImageBox& m, QWidget* parent, FormHost& host) {
  auto* w = new QLabel(parent);
  struct Shown {
    int picture = -1;
    std::string file;
    QSize size;
    bool stretch = false;
    bool operator==(const Shown&) const = default;
  };
  return {&m, w, [&host, &m, w, shown = Shown{}]() mutable {
            const QSize size(toPixels(m.geometry().width), toPixels(m.geometry().height));
            // A stretched picture follows the control's size; a plain one sets it.
            const Shown now{m.picture(), m.file(), m.stretch() ? size : QSize(), m.stretch()};
            if (now != shown) {
              shown = now;
              w->setScaledContents(m.stretch());
              w->setPixmap(host.picture(m.picture(), m.file(), size));
            }
            if (!m.stretch()) sizeItself(m, w, w->pixmap().deviceIndependentSize().toSize());
          }};
}

ControlBinding bindImageCombo(ui::ImageCombo& m, QWidget* parent, FormHost& host) {
  auto* w = new QComboBox(parent);
  // Setting the size builds the drop-down list at once, even when it is the style's own.
  if (w->iconSize() != QSize(16, 16)) w->setIconSize(QSize(16, 16));
  auto* items = new ImageComboItems(
      [&host](int image) { return QIcon(host.picture(image, "", QSize(16, 16))); }, w);
  w->setModel(items);
  QObject::connect(w, &QComboBox::activated, [&m](int index) { m.choose(index + 1); });
  return {&m, w, [&m, w, items] {
            const QSignalBlocker block(w);
            items->take(m);
            w->setCurrentIndex(m.selectedIndex() - 1);
          }};
}

}  // namespace

ControlBindings ControlBindings::standard() {
  ControlBindings b;
  b.add<ui::CommandButton>(bindButton);
  b.add<ui::CheckBox>(bindCheckBox);
  b.add<ui::Label>(bindLabel);
  b.add<ui::Frame>(bindFrame);
  b.add<ui::TextBox>(bindTextBox);
  b.add<ui::ComboBox>(bindComboBox);
  b.add<ui::ImageBox>(bindImageBox);
  b.add<ui::ImageCombo>(bindImageCombo);
  b.add<ui::OptionButton>(bindOptionButton);
  b.add<ui::Slider>(bindSlider);
  b.add<ui::PictureBox>(bindPictureBox);
  return b;
}

}  // namespace korvane::platform
