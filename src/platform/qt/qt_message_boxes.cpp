// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "platform/qt/nested_loops.h"

namespace korvane::platform {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MsgResult QtMessageBoxes::show(const std::string& text, const std::string& title,
                               MsgButtons buttons, MsgIcon icon) {
  const bool yesNo = buttons == MsgButtons::YesNo;
  // Centred on the window it belongs to: the one the user was working in. On the heap: should
  // that window go while the box is open, the box goes with it, once.
  const QPointer<QMessageBox> box = new QMessageBox(
      qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
      yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, QApplication::activeWindow());
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  int chosen = QMessageBox::No;
  {
    const NestedLoop nested;
    chosen = box->exec();
  }
  delete box.data();
  if (!yesNo) return MsgResult::OK;
  return chosen == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
}

}  // namespace korvane::platform
