#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include "FieldEdit.h"
#include "QtPrint.h"

namespace tacho {
namespace {

TEST(AcceptUserEdit, LimitsInsertionsOnlyAndLetsDeletionsPass) {
  const struct {
    const char* name;
    const char* before;
    const char* after;  // the text the user's edit would give
    int cursor;         // where the edit left the cursor; -1: at the end
    UserEditLimits limits;
    const char* accepted;
  } cases[] = {
      {"TypedLetterInDigitsField", "12", "12a", -1, {5, true}, "12"},
      {"DigitAnywhere", "12", "132", 2, {5, true}, "132"},
      {"LettersSetByProgramDoNotBlockDigits", "abc", "abc1", -1, {5, true}, "abc1"},
      {"DeletingLettersSetByProgram", "abc", "ab", -1, {5, true}, "ab"},
      {"NoRoomLeft", "1234", "12345", -1, {4, true}, "1234"},
      {"PasteCutToTheRoomLeft", "12", "12345678", -1, {4, false}, "1234"},
      {"PasteInTheMiddleCutToTheRoomLeft", "1234", "12341234", 6, {6, false}, "123434"},
      {"SelectionReplacedWithinTheLimit", "1299", "1x99", 2, {4, false}, "1x99"},
      {"OverlongTextSetByProgramTakesNoMore", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRSTU", -1, {17, false},
       "ABCDEFGHIJKLMNOPQRST"},
      {"OverlongTextSetByProgramMayShrink", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRS", -1, {17, false},
       "ABCDEFGHIJKLMNOPQRS"},
      {"NoLimit", "", "anything at all, long", -1, {0, false}, "anything at all, long"},
      // A single-line field keeps what is pasted or dropped up to its first line break.
      {"LineFeedEndsThePaste", "ab", "abcd\nef", -1, {0, false}, "abcd"},
      {"CrLfEndsThePasteInTheMiddle", "1299", "12ab\r\ncd99", 8, {0, false}, "12ab99"},
      {"CrEndsThePaste", "", "ab\rcd", -1, {0, false}, "ab"},
      {"PasteRepeatingItsNeighbours", "ab", "ab\nab", 3, {0, false}, "abab"},
      {"BreakFirstPastesNothing", "ab", "ab\nxyz", -1, {0, false}, "ab"},
      {"DigitsBeforeTheBreakPassADigitsField", "1", "112\n34", -1, {6, true}, "112"},
      {"CutAtTheBreakThenToTheRoomLeft", "", "abcdef\ngh", -1, {3, false}, "abc"},
      {"UnicodeLineSeparatorEndsThePaste", "", "a\u2028b", -1, {0, false}, "a"},
      {"ParagraphSeparatorEndsThePaste", "", "a\u2029b", -1, {0, false}, "a"},
      {"TabIsNoLineBreak", "", "a\tb", -1, {0, false}, "a\tb"},
      {"BreakInATextSetByProgramStays", "x\ny", "x\nyz", -1, {0, false}, "x\nyz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString before = QString::fromUtf8(c.before);
    const QString after = QString::fromUtf8(c.after);
    const int cursor = c.cursor < 0 ? static_cast<int>(after.size()) : c.cursor;
    const AcceptedEdit got = AcceptUserEdit(before, static_cast<int>(before.size()), after, cursor, c.limits);
    EXPECT_EQ(got.text, QString::fromUtf8(c.accepted));
  }
}

TEST(FieldEdit, TypingAndPastingKeepToTheLimitsWhileProgramTextsStayWhole) {
  FieldEdit port(nullptr, {5, true});
  QTest::keyClicks(&port, "12ab3");
  EXPECT_EQ(port.text(), "123");
  QTest::keyClicks(&port, "4567");
  EXPECT_EQ(port.text(), "12345");

  port.setText("8080x1y");  // set by program: kept as it is
  EXPECT_EQ(port.text(), "8080x1y");
  QTest::keyClick(&port, Qt::Key_Backspace);
  EXPECT_EQ(port.text(), "8080x1");

  FieldEdit vin(nullptr, {17, false});
  QApplication::clipboard()->setText("WDB96340310123456789");
  QTest::keyClicks(&vin, "XY");
  QTest::keySequence(&vin, QKeySequence::Paste);
  EXPECT_EQ(vin.text(), "XYWDB963403101234");

  FieldEdit digits(nullptr, {0, true});
  QApplication::clipboard()->setText("12-34");
  QTest::keySequence(&digits, QKeySequence::Paste);
  EXPECT_EQ(digits.text(), "");
}

// Qt itself keeps line breaks in a pasted or dropped text.
TEST(FieldEdit, PastedOrDroppedTextKeepsItsFirstLineOnly) {
  FieldEdit ip(nullptr, {15, false});
  QApplication::clipboard()->setText("10.1.2.3\r\n21400\r\n");
  QTest::keySequence(&ip, QKeySequence::Paste);
  EXPECT_EQ(ip.text(), "10.1.2.3");

  FieldEdit vin(nullptr, {17, false});
  vin.setText("XTA");
  vin.setCursorPosition(0);
  QApplication::clipboard()->setText("XT\nA");
  QTest::keySequence(&vin, QKeySequence::Paste);
  EXPECT_EQ(vin.text(), "XTXTA");
  EXPECT_EQ(vin.cursorPosition(), 2);

  FieldEdit port(nullptr, {5, true});
  port.show();
  QMimeData dropped;
  dropped.setText("214\n00");
  QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&port, &enter);
  QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&port, &drop);
  EXPECT_EQ(port.text(), "214");
}

}  // namespace
}  // namespace tacho
