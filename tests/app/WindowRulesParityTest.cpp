// The Qt window and the Win32 window apply the same date field rules: the Qt
// date field against the toolkit-free rules the Win32 one uses.
#include <gtest/gtest.h>

#include <QTest>

#include "DateEdit.h"
#include "DateFieldText.h"
#include "QtPrint.h"

namespace tacho {
namespace {

QString Q(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

struct DateCase {
  const char* name;
  std::u16string_view text;
};

class DateRuleParity : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateRuleParity, TextSetByProgram) {
  DateEdit field(nullptr);
  field.SetFieldText(Q(GetParam().text));
  EXPECT_EQ(field.FieldText(), Q(FitDateFieldText(GetParam().text)));
}

TEST_P(DateRuleParity, TextTypedIntoTheBlankField) {
  DateEdit field(nullptr);
  field.SetFieldText(Q(kBlankDateField));
  field.setCursorPosition(0);
  QTest::keyClicks(&field, Q(GetParam().text));
  DateFieldEdit typed{std::u16string(kBlankDateField), 0};
  for (char16_t c : GetParam().text) typed = InsertIntoDateField(typed.text, typed.caret, typed.caret, std::u16string(1, c));
  EXPECT_EQ(field.FieldText(), Q(typed.text));
}

INSTANTIATE_TEST_SUITE_P(Texts, DateRuleParity,
                         ::testing::Values(DateCase{"FullDate", u"25.12.2014"}, DateCase{"Digits", u"25122014"},
                                           DateCase{"ShortParts", u"1.2.2024"}, DateCase{"Letters", u"ab12cd"},
                                           DateCase{"OtherSeparators", u"2024-01-05"},
                                           DateCase{"TooLong", u"25.12.20141999"},
                                           DateCase{"LeadingBlank", u" 5.1.2014"}, DateCase{"Empty", u""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tacho
