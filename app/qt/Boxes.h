// The three modal boxes of the tool, as Qt message boxes with one OK button.
#pragma once

#include <QMessageBox>
#include <QString>

namespace tacho {

// The caption of a message box given none: the system's word for an error, as
// Windows shows it for a box without a caption.
inline constexpr char16_t kDefaultMessageCaption[] = u"Ошибка";

// The application title of this program file: the caption of the plain message
// and of the error box.
QString ProgramTitle();

// Shows the box modally and returns when the user closes it.
void ShowModalBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text);

}  // namespace tacho
