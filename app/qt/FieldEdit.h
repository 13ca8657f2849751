// An edit field whose maximum length and digits-only mode limit only what the
// user types, pastes or drops; a text set by program is kept whole and unfiltered.
// (QLineEdit's own maxLength would cut a text set by program, so it is not used.)
#pragma once

#include <QLineEdit>
#include <QString>

namespace tacho {

struct UserEditLimits {
  int maxLength = 0;  // 0: no limit
  bool digitsOnly = false;
};

struct AcceptedEdit {
  QString text;
  int cursor;
};

// The text a user's edit of `before` into `after` leaves, within the limits:
// an insertion is first cut at its first line break (the field holds one line);
// inserted characters other than 0-9 in a digits-only field refuse the edit;
// an insertion that overruns the maximum length is cut to the room left, and
// refused when no room is left. Deletions always pass. `cursorAfter`, where the
// edit left the cursor, tells where the inserted text ends.
AcceptedEdit AcceptUserEdit(const QString& before, int cursorBefore, const QString& after, int cursorAfter,
                            UserEditLimits limits);

class FieldEdit : public QLineEdit {
 public:
  explicit FieldEdit(QWidget* parent, UserEditLimits limits = {});
  UserEditLimits Limits() const { return limits_; }

 protected:
  bool event(QEvent* e) override;

 private:
  void OnTextEdited(const QString& text);

  UserEditLimits limits_;
  QString before_;
  int cursorBefore_ = 0;
};

}  // namespace tacho
