#include "FieldEdit.h"

#include <QEvent>

namespace tacho {

AcceptedEdit AcceptUserEdit(const QString& before, int cursorBefore, const QString& after, int cursorAfter,
                            UserEditLimits limits) {
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  QString inserted = after.mid(prefix, after.size() - prefix - suffix);
  const qsizetype kept = prefix + suffix;  // characters of `before` the edit leaves
  const AcceptedEdit refused{before, cursorBefore};

  if (limits.digitsOnly) {
    for (QChar c : inserted) {
      if (c < u'0' || c > u'9') return refused;
    }
  }
  if (limits.maxLength > 0 && kept + inserted.size() > limits.maxLength) {
    const qsizetype room = limits.maxLength - kept;
    if (room <= 0 && !inserted.isEmpty()) return refused;
    inserted.truncate(room);
    const QString text = before.left(prefix) + inserted + before.right(suffix);
    return {text, static_cast<int>(prefix + inserted.size())};
  }
  return {after, cursorAfter};
}

FieldEdit::FieldEdit(QWidget* parent, UserEditLimits limits) : QLineEdit(parent), limits_(limits) {
  connect(this, &QLineEdit::textEdited, this, &FieldEdit::OnTextEdited);
}

bool FieldEdit::event(QEvent* e) {
  // Every user edit (key, input method, paste from the context menu, drop,
  // middle-click) happens while one of this field's events is handled; the
  // text before it is kept to judge the edit.
  before_ = text();
  cursorBefore_ = cursorPosition();
  return QLineEdit::event(e);
}

void FieldEdit::OnTextEdited(const QString& text) {
  const AcceptedEdit accepted = AcceptUserEdit(before_, cursorBefore_, text, cursorPosition(), limits_);
  if (accepted.text != text) {
    setText(accepted.text);
    setCursorPosition(accepted.cursor);
  }
  before_ = accepted.text;
  cursorBefore_ = accepted.cursor;
}

}  // namespace tacho
