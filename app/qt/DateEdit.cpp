#include "DateEdit.h"

#include <QCalendarWidget>
#include <QDate>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <string>

#include "DateFieldText.h"

namespace tacho {
namespace {

// A small calendar sheet for the field's button, drawn rather than shipped.
QIcon CalendarIcon(const QPalette& palette) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(palette.color(QPalette::Text), 2));
  p.setBrush(palette.color(QPalette::Base));
  p.drawRoundedRect(QRectF(3, 5, 26, 24), 3, 3);
  p.fillRect(QRectF(4, 6, 24, 6), QColor(0x3a, 0x6e, 0xa5));
  p.setPen(Qt::NoPen);
  p.setBrush(palette.color(QPalette::Text));
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 4; ++col) p.drawRect(QRectF(7 + col * 5.5, 15 + row * 4.5, 3, 3));
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("99.99.9999; "));
  // A narrow button inside the field's right edge, so that the whole date fits
  // beside it in the field's 79 pixels.
  button_ = new QToolButton(this);
  button_->setIcon(CalendarIcon(palette()));
  button_->setIconSize(QSize(11, 11));
  button_->setAutoRaise(true);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setCursor(Qt::ArrowCursor);
  button_->setAccessibleName(QStringLiteral("Календарь"));
  setTextMargins(0, 0, kButtonWidth, 0);
  connect(button_, &QToolButton::clicked, this, &DateEdit::OpenCalendar);
}

void DateEdit::resizeEvent(QResizeEvent* e) {
  QLineEdit::resizeEvent(e);
  button_->setGeometry(width() - kButtonWidth - 2, 2, kButtonWidth, height() - 4);
}

void DateEdit::SetFieldText(const QString& text) {
  // The text is fitted by the rule both front ends share; Qt's setText would
  // close up the blanks between digits, so each digit is inserted at its own
  // place into the empty mask.
  const std::u16string fitted = FitDateFieldText(text.toStdU16String());
  setText(QString());
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    if (fitted[i] >= u'0' && fitted[i] <= u'9') {
      setCursorPosition(static_cast<int>(i));
      insert(QString(QChar(fitted[i])));
    }
  }
  setCursorPosition(0);
}

void DateEdit::SetDate(int year, int month, int day) {
  SetFieldText(QString::asprintf("%02d.%02d.%04d", day % 100, month % 100, year % 10000));
}

void DateEdit::OpenCalendar() {
  if (!calendar_) {
    calendar_ = new QCalendarWidget(this);
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setGridVisible(true);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(calendar_, &QCalendarWidget::clicked, this, &DateEdit::PickDate);
    connect(calendar_, &QCalendarWidget::activated, this, &DateEdit::PickDate);
  }
  const QDate shown = QDate::fromString(displayText(), QStringLiteral("dd.MM.yyyy"));
  calendar_->setSelectedDate(shown.isValid() ? shown : QDate::currentDate());
  calendar_->adjustSize();

  // Below the field, kept on the screen.
  QPoint place = mapToGlobal(QPoint(0, height()));
  if (const QScreen* s = screen()) {
    const QRect area = s->availableGeometry();
    const QSize size = calendar_->sizeHint();
    if (place.x() + size.width() > area.right()) place.setX(area.right() - size.width());
    if (place.y() + size.height() > area.bottom()) place.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
    place.setX(std::max(place.x(), area.left()));
    place.setY(std::max(place.y(), area.top()));
  }
  calendar_->move(place);
  calendar_->show();
  calendar_->setFocus(Qt::PopupFocusReason);
}

void DateEdit::PickDate(QDate date) {
  SetDate(date.year(), date.month(), date.day());
  calendar_->hide();
  setFocus(Qt::PopupFocusReason);
}

void DateEdit::keyPressEvent(QKeyEvent* e) {
  // Alt+Down and F4 open the calendar, as on a combo box.
  if ((e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier)) || e->key() == Qt::Key_F4) {
    OpenCalendar();
    return;
  }
  QLineEdit::keyPressEvent(e);
}

}  // namespace tacho
