// The date field: a masked entry of two digits, a dot, two digits, a dot and four
// digits, blanks shown as spaces, with a calendar button that picks a date.
#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QToolButton;

namespace tacho {

class DateEdit : public QLineEdit {
 public:
  explicit DateEdit(QWidget* parent);

  // The text with its dots and a space in every blank position ("  .  .    "
  // when empty); text() would drop the blanks.
  QString FieldText() const { return displayText(); }
  // A text of the field's form (digits or blanks, dots at 2 and 5) is placed
  // character by character, so that it reads back unchanged; any other text is
  // fitted by Qt's mask, digit by digit from the left.
  void SetFieldText(const QString& text);
  void SetDate(int year, int month, int day);
  void OpenCalendar();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void PickDate(QDate date);

  static constexpr int kButtonWidth = 14;
  QToolButton* button_;
  QCalendarWidget* calendar_ = nullptr;  // created on first use
};

}  // namespace tacho
