// The checks of the GSM page: emptiness, interval ranges, what the record's text
// fields can hold.
#include "GsmCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "AppError.h"
#include "FormModel.h"
#include "TextCodec.h"

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

struct IntervalCase {
  const char* name;
  const char16_t* send;
  const char16_t* save;
  std::vector<std::u16string> messages;
};

void PrintTo(const IntervalCase& c, std::ostream* os) { *os << c.name; }

class CheckGsmIntervals : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(CheckGsmIntervals, EachIsRangeCheckedOnItsOwnBoundsIncluded) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_int_send, GetParam().send);
  form.SetText(ControlId::Edit_int_save, GetParam().save);
  EXPECT_EQ(CheckGsm(form), GetParam().messages.empty() ? 1 : 0);
  EXPECT_EQ(form.BoxTexts(), GetParam().messages);
  for (const Box& box : form.boxes) EXPECT_EQ(box.caption, std::optional<std::u16string>(u"Внимание"));
}

const IntervalCase kIntervalCases[] = {
    {"LowerBounds", u"10", u"5", {}},
    {"UpperBounds", u"2500", u"1200", {}},
    {"Send9", u"9", u"5", {kSendRange}},
    {"Send2501", u"2501", u"5", {kSendRange}},
    {"Save4", u"40", u"4", {kSaveRange}},
    {"Save1201", u"40", u"1201", {kSaveRange}},
    {"Save3", u"40", u"3", {kSaveRange}},
    {"BothOutsideSendFirst", u"9", u"1201", {kSendRange, kSaveRange}},
    {"SignAndHexAreConverted", u"-40", u"$4", {kSendRange, kSaveRange}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CheckGsmIntervals, ::testing::ValuesIn(kIntervalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckGsm, IntervalWithTrailingBlankRaisesTheConversionError) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_int_send, u"40 ");
  EXPECT_THROW(CheckGsm(form), ConvertError);
  EXPECT_TRUE(form.boxes.empty());
}

// One record text of valid entries changed, and the boxes the checks then show.
struct TextCase {
  const char* name;
  ControlId control;
  std::u16string text;
  std::vector<std::u16string> messages;  // each captioned "Внимание!"; empty: passes
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class CheckGsmText : public ::testing::TestWithParam<TextCase> {};

TEST_P(CheckGsmText, IsRefusedByNameWhenTheRecordCannotHoldIt) {
  FormModel form;
  FillValid(form);
  form.SetText(GetParam().control, GetParam().text);
  EXPECT_EQ(CheckGsm(form), GetParam().messages.empty() ? 1 : 0);
  std::vector<Shown> expected;
  for (const std::u16string& message : GetParam().messages) expected.push_back(Message(message, u"Внимание!"));
  EXPECT_EQ(MessageBoxes(form), expected);
}

std::u16string TooWide(std::u16string_view field, int width) {
  const std::u16string n = FromUtf8(std::to_string(width));
  return u"Поле «" + std::u16string(field) + u"» длиннее " + n + u" символов!\n Запись не выполнена: сократите текст до " +
         n + u" символов.";
}

std::u16string Lacking(std::u16string_view field, std::u16string_view shown) {
  return u"Поле «" + std::u16string(field) + u"» содержит символ " + std::u16string(shown) +
         u", которого нет в кодировке Windows-1251!\n Запись не выполнена: замените или удалите этот символ.";
}

std::u16string Times(std::u16string_view piece, int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

const TextCase kWidthCases[] = {
    {"AddressOf15Fits", ControlId::Edit_IP, Times(u"1", 15), {}},
    {"AddressOf16", ControlId::Edit_IP, Times(u"1", 16), {TooWide(u"IP адресс", 15)}},
    {"PortOf5Fits", ControlId::Edit_port, Times(u"1", 5), {}},
    {"PortOf6", ControlId::Edit_port, Times(u"1", 6), {TooWide(u"Порт", 5)}},
    {"ConnectionOf50Fits", ControlId::Edit_operator, Times(u"1", 50), {}},
    {"ConnectionOf51", ControlId::Edit_operator, Times(u"1", 51), {TooWide(u"Строка подключения", 50)}},
    // Width is counted in record bytes: a Cyrillic letter is one byte, so is a pair of surrogates.
    {"ConnectionOf50CyrillicLettersFits", ControlId::Edit_operator, Times(u"Ж", 50), {}},
    {"ConnectionOf51CyrillicLetters", ControlId::Edit_operator, Times(u"Ж", 51),
     {TooWide(u"Строка подключения", 50)}},
    {"SurrogatePairIsOneByteOfWidth", ControlId::Edit_operator, Times(u"a", 49) + u"\U0001F600",
     {Lacking(u"Строка подключения", u"«\U0001F600» (U+1F600)")}},
};

INSTANTIATE_TEST_SUITE_P(Width, CheckGsmText, ::testing::ValuesIn(kWidthCases),
                         [](const auto& info) { return std::string(info.param.name); });

const TextCase kCharacterCases[] = {
    {"AddressWithFullWidthDigits", ControlId::Edit_IP, u"\uFF11\uFF10.1.2.3",
     {Lacking(u"IP адресс", u"«\uFF11» (U+FF11)")}},
    {"PortWithArabicIndicDigit", ControlId::Edit_port, u"2140\u0660", {Lacking(u"Порт", u"«\u0660» (U+0660)")}},
    {"ConnectionWithCurlyQuotes", ControlId::Edit_operator, u"\u201Cinternet\u201D,\"\",\"\"", {}},
    {"ConnectionWithALatinAccent", ControlId::Edit_operator, u"\"intern\u00E9t\",\"\",\"\"",
     {Lacking(u"Строка подключения", u"«\u00E9» (U+00E9)")}},
    {"ConnectionWithACyrillicPassword", ControlId::Edit_operator, u"\"internet\",\"мтс\",\"Ёж№\"", {}},
    {"ConnectionWithAC1Control", ControlId::Edit_operator, u"\"internet\u0085\",\"\",\"\"",
     {Lacking(u"Строка подключения", u"U+0085")}},
    {"TooWideAndLackingGivesBothInThatOrder", ControlId::Edit_IP, u"10.1.2.3.4.5.6.\u4E2D",
     {TooWide(u"IP адресс", 15), Lacking(u"IP адресс", u"«\u4E2D» (U+4E2D)")}},
};

INSTANTIATE_TEST_SUITE_P(Characters, CheckGsmText, ::testing::ValuesIn(kCharacterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckGsm, TextFaultsFollowTheOtherMessagesInRecordOrder) {
  FormModel form;
  FillValid(form);
  form.SetText(ControlId::Edit_operator, std::u16string(51, u'x'));
  form.SetText(ControlId::Edit_port, u"2140\u0660");
  form.SetText(ControlId::Edit_IP, std::u16string(16, u'1'));
  form.SetText(ControlId::Edit_int_save, u"1201");
  EXPECT_EQ(CheckGsm(form), 0);
  EXPECT_EQ(form.BoxTexts(), (std::vector<std::u16string>{kSaveRange, TooWide(u"IP адресс", 15),
                                                          Lacking(u"Порт", u"«\u0660» (U+0660)"),
                                                          TooWide(u"Строка подключения", 50)}));
}

}  // namespace
}  // namespace tacho
