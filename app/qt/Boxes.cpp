#include "Boxes.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "AppTitle.h"

namespace tacho {

QString ProgramTitle() {
  return QString::fromStdU16String(ApplicationTitle(QCoreApplication::applicationFilePath().toStdU16String()));
}

void ShowModalBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
  // Messages are shown as written: tabs, runs of spaces, "<" and "*" included.
  box.setTextFormat(Qt::PlainText);
  // Qt wraps a text wider than half the screen; the lines of the tool's messages
  // are laid out by hand, so the box is made wide enough to keep each one whole.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    // Measured in the font the label will draw with, once the style has polished it.
    label->ensurePolished();
    const QFontMetrics metrics = label->fontMetrics();
    int widest = 0;
    for (const QString& line : text.split(u'\n')) {
      widest = std::max(widest, metrics.size(Qt::TextExpandTabs, line).width());
    }
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 120 : widest;
    // A few pixels to spare: the label's own margins and rounding would wrap a line
    // that exactly fills it.
    label->setMinimumWidth(std::min(widest + 2 * label->margin() + 8, room));
  }
  box.exec();
}

}  // namespace tacho
