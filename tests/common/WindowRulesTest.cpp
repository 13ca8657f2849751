// The masked date field's rules that both front ends apply: fitting a text set by
// program, typing and erasing.
#include <gtest/gtest.h>

#include <string>

#include "DateFieldText.h"
#include "TextCodec.h"

namespace tacho {
namespace {

struct FitCase {
  const char* name;
  std::u16string_view set;
  std::u16string_view held;
};

class DateFieldFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(DateFieldFit, TextSetByProgram) {
  const std::u16string held = FitDateFieldText(GetParam().set);
  EXPECT_EQ(ToUtf8(held), ToUtf8(GetParam().held));
  EXPECT_TRUE(HasDateFieldForm(held));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DateFieldFit,
    ::testing::Values(FitCase{"FullDate", u"25.12.2014", u"25.12.2014"},
                      FitCase{"Blank", u"  .  .    ", u"  .  .    "},
                      FitCase{"BlanksBetweenDigitsKept", u"1 .0 .2 24", u"1 .0 .2 24"},
                      FitCase{"Empty", u"", u"  .  .    "},
                      FitCase{"ShortDayAndMonth", u"1.2.2024", u"1 .2 .2024"},
                      FitCase{"DigitsOnly", u"25122014", u"25.12.2014"},
                      FitCase{"OtherSeparatorsDropped", u"2024-01-05", u"20.24.0105"},
                      FitCase{"LettersDropped", u"ab12cd", u"12.  .    "},
                      FitCase{"TooLongCut", u"25.12.20141999", u"25.12.2014"},
                      FitCase{"LeadingBlankOfTheFormKept", u" 5.12.2014", u" 5.12.2014"},
                      FitCase{"SpacesOutsideTheFormDropped", u" 5.1.2014", u"5 .1 .2014"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EditCase {
  const char* name;
  std::u16string_view before;
  std::size_t selStart;
  std::size_t selEnd;
  std::u16string_view input;  // empty: Backspace
  std::u16string_view after;
  std::size_t caret;
};

class DateFieldTyping : public ::testing::TestWithParam<EditCase> {};

TEST_P(DateFieldTyping, LeavesTextAndCaret) {
  const EditCase& c = GetParam();
  const DateFieldEdit got = c.input.empty() ? EraseInDateField(c.before, c.selStart, c.selEnd, /*backwards=*/true)
                                            : InsertIntoDateField(c.before, c.selStart, c.selEnd, c.input);
  EXPECT_EQ(ToUtf8(got.text), ToUtf8(c.after));
  EXPECT_EQ(got.caret, c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DateFieldTyping,
    ::testing::Values(EditCase{"DigitIntoBlank", u"  .  .    ", 0, 0, u"3", u"3 .  .    ", 1},
                      EditCase{"SecondDigitSkipsTheDot", u"3 .  .    ", 1, 1, u"1", u"31.  .    ", 3},
                      EditCase{"DigitAtTheDotGoesBehindIt", u"31.  .    ", 2, 2, u"1", u"31.1 .    ", 4},
                      EditCase{"DigitOverwrites", u"25.12.2014", 0, 0, u"1", u"15.12.2014", 1},
                      EditCase{"LetterRefused", u"25.12.2014", 3, 3, u"x", u"25.12.2014", 3},
                      EditCase{"DotJumpsToTheMonth", u"3 .  .    ", 1, 1, u".", u"3 .  .    ", 3},
                      EditCase{"DotBehindADotDoesNothing", u"31.  .    ", 3, 3, u".", u"31.  .    ", 3},
                      EditCase{"NothingAfterTheEnd", u"25.12.2014", 10, 10, u"7", u"25.12.2014", 10},
                      EditCase{"SelectionBlankedThenTyped", u"25.12.2014", 0, 5, u"0", u"0 .  .2014", 1},
                      EditCase{"PasteFitsFromTheCaret", u"  .  .    ", 3, 3, u"12.2030", u"  .12.2030", 10},
                      EditCase{"BackspaceBlanks", u"25.12.2014", 2, 2, u"", u"2 .12.2014", 1},
                      EditCase{"BackspaceSkipsTheDot", u"25.12.2014", 3, 3, u"", u"2 .12.2014", 1},
                      EditCase{"BackspaceAtTheStart", u"25.12.2014", 0, 0, u"", u"25.12.2014", 0},
                      EditCase{"BackspaceOnSelection", u"25.12.2014", 1, 7, u"", u"2 .  . 014", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateFieldDelete, BlanksForwardAndKeepsTheDots) {
  EXPECT_EQ(EraseInDateField(u"25.12.2014", 2, 2, /*backwards=*/false), (DateFieldEdit{u"25. 2.2014", 4}));
  EXPECT_EQ(EraseInDateField(u"25.12.2014", 10, 10, /*backwards=*/false), (DateFieldEdit{u"25.12.2014", 10}));
}

}  // namespace
}  // namespace tacho
