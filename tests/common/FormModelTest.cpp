#include "FormModel.h"

#include <gtest/gtest.h>

#include <functional>

#include "AppError.h"
#include "ControlLists.h"
#include "HandlerRunner.h"
#include "IntText.h"

namespace tacho {
namespace {

TEST(FormModel, StartsWithTheWindowDefaults) {
  FormModel form(CivilDate{2023, 3, 1});
  EXPECT_EQ(form.ReadText(ControlId::sEdit_master_N), u"РФ");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_country), 43);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_country), u"RUS   Росс.федерац.");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox1), u"+0");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox2), u"00");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), -1);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox3), u"");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_port), -1);
  EXPECT_EQ(form.ItemText(ControlId::sComboBox_port, 0), u"Найти устр-во");
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), u"28.02.2025");
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Write_Kalibr_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Read_GSM_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Write_GSM_Button));
}

TEST(FormModel, DefaultDateIsTodayPlus730Days) {
  EXPECT_EQ(DefaultNextCalibrationDate({2023, 3, 1}), (CivilDate{2025, 2, 28}));
  EXPECT_EQ(DefaultNextCalibrationDate({2024, 3, 1}), (CivilDate{2026, 3, 1}));
  EXPECT_EQ(DefaultNextCalibrationDate({2026, 12, 31}), (CivilDate{2028, 12, 30}));
}

TEST(FormModel, FindItemIsExact) {
  FormModel form;
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"+0"), 23);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"-0"), 22);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"0"), -1);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"-11"), -1);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox2, u"00"), 0);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox2, u"5"), 5);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox2, u"05"), -1);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox_country, u"RUS   Росс.федерац."), 43);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox_country, u"RUS"), -1);
}

TEST(FormModel, SelectingOutsideTheListLeavesNoSelection) {
  FormModel form;
  for (int index : {-1, 56, 1000}) {
    form.SelectIndex(ControlId::sComboBox_country, 5);
    form.SelectIndex(ControlId::sComboBox_country, index);
    EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_country), -1) << index;
    EXPECT_EQ(form.ReadText(ControlId::sComboBox_country), u"");
  }
  EXPECT_EQ(form.ItemText(ControlId::sComboBox_country, -1), u"");
}

TEST(FormModel, TextsSetByProgramAreKeptWhole) {
  FormModel form;
  const std::u16string vin(25, u'X');
  form.SetText(ControlId::sEdit_VIN, vin);
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), vin);
  form.SetText(ControlId::Edit_port, u"abc");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"abc");
}

TEST(ControlLists, HoldTheWindowsItems) {
  EXPECT_EQ(kCountryItems.size(), 56u);
  EXPECT_EQ(kCountryItems[0], u"   Информац. нет");
  EXPECT_EQ(kCountryItems[55], u"WLD  Ост.часть мир");
  EXPECT_EQ(kHoursItems[0], u"-23");
  EXPECT_EQ(kHoursItems[11], u"-12");
  EXPECT_EQ(kHoursItems[12], u"-10");
  EXPECT_EQ(kHoursItems[46], u"+23");
  EXPECT_EQ(kMinutesItems[0], u"00");
  for (std::size_t i = 1; i < kMinutesItems.size(); ++i) {
    EXPECT_EQ(kMinutesItems[i], IntToStr(static_cast<std::int64_t>(i)));  // an item's index is its value
  }
}

}  // namespace
}  // namespace tacho

namespace tacho {
namespace {

// What escapes a handler: an error is shown in the error box, the window closed
// during a command is not.
TEST(HandlerRunner, ShowsAnEscapedErrorButNotTheWindowClosed) {
  struct Case {
    const char* name;
    std::function<void()> handler;
    std::vector<std::u16string> boxes;
  };
  const Case cases[] = {
      {"conversion error", [] { throw ConvertError(u"'x' is not a valid integer value"); },
       {u"'x' is not a valid integer value"}},
      {"window closed", [] { throw WindowClosed{}; }, {}},
      {"nothing thrown", [] {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormModel form;
    RunHandler(form, c.handler);
    EXPECT_EQ(form.BoxTexts(), c.boxes);
  }
}

}  // namespace
}  // namespace tacho
