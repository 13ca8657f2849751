#include "FieldEdit.h"

#include <QEvent>
#include <QStringView>

#include <algorithm>

namespace tacho {

namespace {

// How much of the old text an edit left in front of and behind what it put in.
struct EditSpan {
  qsizetype prefix;
  qsizetype suffix;
};

// The cursor ends right after the text an edit puts in, and what follows the
// cursor is the untouched end of the old text; that places an insertion even
// where it repeats its neighbours ("ab" pasted in front of "ab"). When the
// cursor says nothing consistent, the longest common prefix and suffix do.
EditSpan LocateEdit(const QString& before, const QString& after, int cursorAfter) {
  if (cursorAfter >= 0 && cursorAfter <= after.size()) {
    const qsizetype suffix = after.size() - cursorAfter;
    if (suffix <= before.size() && QStringView(after).right(suffix) == QStringView(before).right(suffix)) {
      const qsizetype limit = std::min<qsizetype>(cursorAfter, before.size() - suffix);
      qsizetype prefix = 0;
      while (prefix < limit && before[prefix] == after[prefix]) ++prefix;
      return {prefix, suffix};
    }
  }
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return {prefix, suffix};
}

// CR, LF and the other characters that end a line in Unicode text.
bool IsLineBreak(QChar c) {
  switch (c.unicode()) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:
    case 0x2028:
    case 0x2029:
      return true;
    default:
      return false;
  }
}

}  // namespace

AcceptedEdit AcceptUserEdit(const QString& before, int cursorBefore, const QString& after, int cursorAfter,
                            UserEditLimits limits) {
  const auto [prefix, suffix] = LocateEdit(before, after, cursorAfter);
  QString inserted = after.mid(prefix, after.size() - prefix - suffix);
  const qsizetype kept = prefix + suffix;  // characters of `before` the edit leaves
  const AcceptedEdit refused{before, cursorBefore};
  bool changed = false;

  // A single-line field takes a pasted or dropped text up to its first line break.
  const auto lineBreak = std::find_if(inserted.cbegin(), inserted.cend(), IsLineBreak);
  if (lineBreak != inserted.cend()) {
    inserted.truncate(lineBreak - inserted.cbegin());
    changed = true;
  }
  if (limits.digitsOnly) {
    for (QChar c : inserted) {
      if (c < u'0' || c > u'9') return refused;
    }
  }
  if (limits.maxLength > 0 && kept + inserted.size() > limits.maxLength) {
    const qsizetype room = limits.maxLength - kept;
    if (room <= 0 && !inserted.isEmpty()) return refused;
    inserted.truncate(room);
    changed = true;
  }
  if (!changed) return {after, cursorAfter};
  return {before.left(prefix) + inserted + before.right(suffix), static_cast<int>(prefix + inserted.size())};
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
