#include "FormModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "AppError.h"
#include "HandlerRunner.h"
#include "WindowDescription.h"

namespace tacho {
namespace {

// Every control the page logic can reach starts as the description gives it.
TEST(FormModel, StartsAsTheWindowDescriptionGivesEachControl) {
  const CivilDate today{2023, 3, 1};
  FormModel form(today);
  int checked = 0;
  for (const ControlDesc& d : kControls) {
    SCOPED_TRACE(std::string(d.name));
    switch (d.kind) {
      case ControlKind::EditField:
        EXPECT_EQ(form.ReadText(d.id), d.defaultText);
        break;
      case ControlKind::DateField:
        ASSERT_EQ(d.defaultDate, StartDate::NextCalibrationDate);
        EXPECT_EQ(form.ReadText(d.id), u"28.02.2025");  // today plus 730 days
        break;
      case ControlKind::DropDownList: {
        ASSERT_EQ(form.ItemCount(d.id), static_cast<int>(d.items.size()));
        for (std::size_t i = 0; i < d.items.size(); ++i) {
          EXPECT_EQ(form.ItemText(d.id, static_cast<int>(i)), d.items[i]) << i;
        }
        EXPECT_EQ(form.SelectedIndex(d.id), d.defaultIndex);
        const std::u16string shown = d.defaultIndex >= 0 ? std::u16string(d.items[static_cast<std::size_t>(d.defaultIndex)]) : u"";
        EXPECT_EQ(form.ReadText(d.id), shown);
        break;
      }
      case ControlKind::PushButton:
      case ControlKind::ToolButton:
        EXPECT_EQ(form.IsButtonVisible(d.id), d.visibleAtStart);
        EXPECT_TRUE(form.IsEnabled(d.id));
        break;
      case ControlKind::PageControl:
        EXPECT_EQ(form.ActivePage(), 0);
        break;
      default:
        continue;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 28);  // 13 edit fields, the date field, 5 lists, 8 buttons, the page control
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
