#include "platform/qt/qt_message_boxes.h"

#include <QMessageBox>

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
  QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  const int chosen = box.exec();
  if (!yesNo) return MsgResult::OK;
  return chosen == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
}

}  // namespace korvane::platform
