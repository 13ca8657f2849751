#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "FieldEdit.h"
#include "QtPrint.h"

namespace tacho {
namespace {

TEST(AcceptUserEdit, LimitsInsertionsOnlyAndLetsDeletionsPass) {
  const struct {
    const char* before;
    const char* after;  // the text the user's edit would give
    UserEditLimits limits;
    const char* accepted;
  } cases[] = {
      {"12", "12a", {5, true}, "12"},              // a typed letter is refused
      {"12", "132", {5, true}, "132"},             // a digit anywhere passes
      {"abc", "abc1", {5, true}, "abc1"},          // letters set by program do not block digits
      {"abc", "ab", {5, true}, "ab"},              // deleting them passes
      {"1234", "12345", {4, true}, "1234"},        // no room left
      {"12", "12345678", {4, false}, "1234"},      // a paste is cut to the room left
      {"1299", "1x99", {4, false}, "1x99"},        // replacing a selection within the limit
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRSTU", {17, false}, "ABCDEFGHIJKLMNOPQRST"},
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRS", {17, false}, "ABCDEFGHIJKLMNOPQRS"},
      {"", "anything at all, long", {0, false}, "anything at all, long"},  // no limit
  };
  for (const auto& c : cases) {
    const QString before = QString::fromUtf8(c.before);
    const QString after = QString::fromUtf8(c.after);
    const AcceptedEdit got = AcceptUserEdit(before, static_cast<int>(before.size()), after,
                                            static_cast<int>(after.size()), c.limits);
    EXPECT_EQ(got.text, QString::fromUtf8(c.accepted)) << c.before << " -> " << c.after;
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

}  // namespace
}  // namespace tacho
