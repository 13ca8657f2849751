#include "Boxes.h"

namespace tacho {

void ShowModalBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  // Messages are shown as written: tabs, runs of spaces, "<" and "*" included.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace tacho
