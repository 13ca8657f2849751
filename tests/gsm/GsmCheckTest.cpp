// The checks of the GSM page: emptiness, interval ranges, field widths.
#include "GsmCheck.h"

#include <gtest/gtest.h>

#include "AppError.h"
#include "FormModel.h"

namespace tacho {
namespace {

using Box = FormModel::Box;
using Kind = FormModel::BoxKind;

const std::u16string kSendRange =
    u"Некорректно введен интервал передачи данных!\n Значение должно быть в пределах от 10 до 2500 секунд.";
const std::u16string kSaveRange =
    u"Некорректно введен интервал сохранения данных!\n Значение должно быть в пределах от 5 до 1200 секунд.";

void FillValid(FormModel& form) {
  form.SetText(ControlId::Edit_operator, u"\"internet.mts.ru\",\"mts\",\"mts\"");
  form.SetText(ControlId::Edit_IP, u"10.1.2.3");
  form.SetText(ControlId::Edit_port, u"21400");
  form.SetText(ControlId::Edit_int_send, u"40");
  form.SetText(ControlId::Edit_int_save, u"5");
}

// A message box as text and caption (nullopt: the system's default caption).
using Shown = std::pair<std::u16string, std::optional<std::u16string>>;

std::vector<Shown> MessageBoxes(const FormModel& form) {
  std::vector<Shown> shown;
  for (const Box& box : form.boxes) {
    EXPECT_EQ(box.kind, Kind::Message);
    shown.emplace_back(box.text, box.caption);
  }
  return shown;
}

Shown Message(std::u16string text, std::optional<std::u16string> caption = std::nullopt) {
  return {std::move(text), std::move(caption)};
}

TEST(CheckGsm, ValidEntriesPassSilently) {
  FormModel form;
  FillValid(form);
  EXPECT_EQ(CheckGsm(form), 1);
  EXPECT_TRUE(form.boxes.empty());
}

TEST(CheckGsm, AllEmptyShowsFiveUncaptionedMessagesInOrderThenTheConversionError) {
  FormModel form;
  EXPECT_THROW(CheckGsm(form), ConvertError);
  EXPECT_EQ(MessageBoxes(form), (std::vector<Shown>{Message(u"Введите строку подключения!"), Message(u"Введите IP!"),
                                          Message(u"Введите номер порта!"),
                                          Message(u"Введите интервал сохранения данных!"),
                                          Message(u"Введите интервал передачи данных!")}));
}

TEST(CheckGsm, EmptySavingIntervalStillRunsTheTransferRangeCheckBeforeFailing) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_int_send, u"9");
  form.SetText(ControlId::Edit_int_save, u"");
  EXPECT_THROW(CheckGsm(form), ConvertError);
  EXPECT_EQ(MessageBoxes(form),
            (std::vector<Shown>{Message(u"Введите интервал сохранения данных!"), Message(kSendRange, u"Внимание")}));
}

TEST(CheckGsm, BlanksAreNotEmpty) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_operator, u" ");
  form.SetText(ControlId::Edit_IP, u" ");
  form.SetText(ControlId::Edit_port, u" ");
  EXPECT_EQ(CheckGsm(form), 1);
  form.SetText(ControlId::Edit_operator, u"\" \",\" \",\" \"");
  EXPECT_EQ(CheckGsm(form), 1);
  EXPECT_TRUE(form.boxes.empty());
}

TEST(CheckGsm, EachIntervalIsRangeCheckedOnItsOwnBoundsIncluded) {
  struct Case {
    const char16_t* send;
    const char16_t* save;
    std::vector<std::u16string> messages;
  };
  const std::vector<Case> cases = {
      {u"10", u"5", {}},
      {u"2500", u"1200", {}},
      {u"9", u"5", {kSendRange}},
      {u"2501", u"5", {kSendRange}},
      {u"40", u"4", {kSaveRange}},
      {u"40", u"1201", {kSaveRange}},
      {u"40", u"3", {kSaveRange}},
      {u"9", u"1201", {kSendRange, kSaveRange}},
      {u"-40", u"$4", {kSendRange, kSaveRange}},  // the conversion takes signs and hex
  };
  for (const Case& c : cases) {
    FormModel form;
    FillValid(form);
    form.SetText(ControlId::Edit_int_send, c.send);
    form.SetText(ControlId::Edit_int_save, c.save);
    EXPECT_EQ(CheckGsm(form), c.messages.empty() ? 1 : 0);
    EXPECT_EQ(form.BoxTexts(), c.messages);
    for (const Box& box : form.boxes) EXPECT_EQ(box.caption, std::optional<std::u16string>(u"Внимание"));
  }
}

TEST(CheckGsm, IntervalWithTrailingBlankRaisesTheConversionError) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_int_send, u"40 ");
  EXPECT_THROW(CheckGsm(form), ConvertError);
  EXPECT_TRUE(form.boxes.empty());
}

TEST(CheckGsm, TextsWiderThanTheirRecordFieldAreRefusedByName) {
  struct Case {
    ControlId control;
    std::size_t width;
    std::u16string message;
  };
  const std::vector<Case> cases = {
      {ControlId::Edit_IP, 15,
       u"Поле «IP адресс» длиннее 15 символов!\n Запись не выполнена: сократите текст до 15 символов."},
      {ControlId::Edit_port, 5,
       u"Поле «Порт» длиннее 5 символов!\n Запись не выполнена: сократите текст до 5 символов."},
      {ControlId::Edit_operator, 50,
       u"Поле «Строка подключения» длиннее 50 символов!\n Запись не выполнена: сократите текст до 50 "
       u"символов."},
  };
  for (const Case& c : cases) {
    FormModel form;
    FillValid(form);
    form.SetText(c.control, std::u16string(c.width, u'1'));
    EXPECT_EQ(CheckGsm(form), 1);
    form.SetText(c.control, std::u16string(c.width + 1, u'1'));
    EXPECT_EQ(CheckGsm(form), 0);
    EXPECT_EQ(MessageBoxes(form), std::vector<Shown>{Message(c.message, u"Внимание!")});
  }
}

TEST(CheckGsm, WidthIsCountedInRecordBytesAfterConversion) {
  FormModel form;
  FillValid(form);
  // An emoji is two UTF-16 units but one record byte ('?').
  std::u16string text(48, u'a');
  text += u"\U0001F600";
  form.SetText(ControlId::Edit_operator, text + u"b");
  EXPECT_EQ(text.size() + 1, 51u);
  EXPECT_EQ(CheckGsm(form), 1);
}

TEST(CheckGsm, WidthFaultsFollowTheOtherMessagesInRecordOrder) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_operator, std::u16string(51, u'x'));
  form.SetText(ControlId::Edit_IP, std::u16string(16, u'1'));
  form.SetText(ControlId::Edit_int_save, u"1201");
  EXPECT_EQ(CheckGsm(form), 0);
  ASSERT_EQ(form.boxes.size(), 3u);
  EXPECT_EQ(form.boxes[0].text, kSaveRange);
  EXPECT_NE(form.boxes[1].text.find(u"«IP адресс»"), std::u16string::npos);
  EXPECT_NE(form.boxes[2].text.find(u"«Строка подключения»"), std::u16string::npos);
}

}  // namespace
}  // namespace tacho
