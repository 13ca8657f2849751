#include "CalibrationCheck.h"

#include <gtest/gtest.h>

#include "AppError.h"
#include "CalibrationFixture.h"

namespace tacho {
namespace {

const std::u16string kW = u"Некоректно введён характеристический коэффициент! \n" + std::u16string(33, u' ') +
                          u"500 < W < 60000";
const std::u16string kL =
    u"Некоректно введена окружность шин колёс! \n" + std::u16string(25, u' ') + u"10 < L < 65000";
const std::u16string kV =
    u"Некоректно введена максимальная скорость!  \n" + std::u16string(28, u' ') + u"10 < V < 200";

const std::u16string kOdometer =
    u"Некорректно введены показания счётчика пробега!\n Введите целое число километров: от 1 до 6 цифр.";

// A message box as text and caption (nullopt: the system's default caption).
using Shown = std::pair<std::u16string, std::optional<std::u16string>>;

Shown Attention(std::u16string text) { return {std::move(text), u"Внимание!"}; }
Shown Uncaptioned(std::u16string text) { return {std::move(text), std::nullopt}; }

// The refusal of a character Windows-1251 lacks, shown as `shown`.
std::u16string Lacking(std::u16string_view field, std::u16string_view shown) {
  return u"Поле «" + std::u16string(field) + u"» содержит символ " + std::u16string(shown) +
         u", которого нет в кодировке Windows-1251!\n Запись не выполнена: замените или удалите этот символ.";
}

std::vector<Shown> MessageBoxes(const FormModel& form) {
  std::vector<Shown> shown;
  for (const FormModel::Box& box : form.boxes) {
    EXPECT_EQ(box.kind, FormModel::BoxKind::Message);
    shown.emplace_back(box.text, box.caption);
  }
  return shown;
}

class CheckCalibrationTest : public CalibrationPage {};

TEST_F(CheckCalibrationTest, ValidPagePassesSilently) {
  EXPECT_EQ(CheckCalibration(form), 0);
  EXPECT_TRUE(form.boxes.empty());
}

TEST_F(CheckCalibrationTest, AllEmptyGivesSevenUncaptionedBoxesInOrder) {
  for (ControlId id : {ControlId::sEdit_VIN, ControlId::sEdit_VRN, ControlId::sEdit_W, ControlId::sEdit_L,
                       ControlId::sEdit_typeSize, ControlId::sEdit_speed, ControlId::sEdit_odometer}) {
    form.SetText(id, u"");
  }
  EXPECT_EQ(CheckCalibration(form), 1);
  const std::vector<std::u16string> expected = {
      u"Введите VIN!", u"Введите VRN!", u"Введите W!", u"Введите L!", u"Введите обозначение размера шин!",
      u"Введите разрешённую скорость!", u"Введите показания счётчика пробега!"};
  EXPECT_EQ(form.BoxTexts(), expected);
  for (const auto& box : form.boxes) EXPECT_FALSE(box.caption.has_value());
}

// One entry of the worked example changed, and the boxes the checks then show.
struct OneEntryCase {
  const char* name;
  ControlId control;
  std::u16string text;
  std::vector<Shown> boxes;  // empty: the page passes
};

void PrintTo(const OneEntryCase& c, std::ostream* os) { *os << c.name; }

class CheckCalibrationOneEntry : public CalibrationPage, public ::testing::WithParamInterface<OneEntryCase> {};

TEST_P(CheckCalibrationOneEntry, ShowsTheExpectedBoxes) {
  form.SetText(GetParam().control, GetParam().text);
  EXPECT_EQ(CheckCalibration(form), GetParam().boxes.empty() ? 0 : 1);
  EXPECT_EQ(MessageBoxes(form), GetParam().boxes);
}

const OneEntryCase kRangeCases[] = {
    {"W499", ControlId::sEdit_W, u"499", {Attention(kW)}},
    {"W500", ControlId::sEdit_W, u"500", {}},
    {"W60000", ControlId::sEdit_W, u"60000", {}},
    {"W60001", ControlId::sEdit_W, u"60001", {Attention(kW)}},
    {"WMinus500", ControlId::sEdit_W, u"-500", {Attention(kW)}},
    {"L9", ControlId::sEdit_L, u"9", {Attention(kL)}},
    {"L10", ControlId::sEdit_L, u"10", {}},
    {"L65000", ControlId::sEdit_L, u"65000", {}},
    {"L65001", ControlId::sEdit_L, u"65001", {Attention(kL)}},
    {"Speed9", ControlId::sEdit_speed, u"9", {Attention(kV)}},
    {"Speed10", ControlId::sEdit_speed, u"10", {}},
    {"Speed200", ControlId::sEdit_speed, u"200", {}},
    {"Speed201", ControlId::sEdit_speed, u"201", {Attention(kV)}},
};

INSTANTIATE_TEST_SUITE_P(Ranges, CheckCalibrationOneEntry, ::testing::ValuesIn(kRangeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The record stores whole kilometres times ten: only plain decimal digits are a reading.
const OneEntryCase kOdometerCases[] = {
    {"EmptyAsksForTheReading", ControlId::sEdit_odometer, u"", {Uncaptioned(u"Введите показания счётчика пробега!")}},
    {"Zero", ControlId::sEdit_odometer, u"0", {}},
    {"SixDigits", ControlId::sEdit_odometer, u"999999", {}},
    {"LeadingZeros", ControlId::sEdit_odometer, u"000012", {}},
    {"LeadingBlanks", ControlId::sEdit_odometer, u"  12", {}},
    {"Negative", ControlId::sEdit_odometer, u"-5", {Attention(kOdometer)}},
    {"PlusSign", ControlId::sEdit_odometer, u"+5", {Attention(kOdometer)}},
    {"HexAfterDollar", ControlId::sEdit_odometer, u"$A", {Attention(kOdometer)}},
    {"HexAfterX", ControlId::sEdit_odometer, u"x10", {Attention(kOdometer)}},
    {"HexAfter0x", ControlId::sEdit_odometer, u"0x10", {Attention(kOdometer)}},
    {"SevenDigits", ControlId::sEdit_odometer, u"1234567", {Attention(kOdometer)}},
    {"SevenDigitsAfterBlanks", ControlId::sEdit_odometer, u"  1234567", {Attention(kOdometer)}},
    {"TrailingBlank", ControlId::sEdit_odometer, u"12 ", {Attention(kOdometer)}},
    {"DigitsThenLetter", ControlId::sEdit_odometer, u"12a", {Attention(kOdometer)}},
    {"BlanksOnly", ControlId::sEdit_odometer, u"  ", {Attention(kOdometer)}},
    {"FullWidthDigits", ControlId::sEdit_odometer, u"\uFF11\uFF12", {Attention(kOdometer)}},
};

INSTANTIATE_TEST_SUITE_P(Odometer, CheckCalibrationOneEntry, ::testing::ValuesIn(kOdometerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every text of the record in turn, and characters on either side of the code page.
const OneEntryCase kCharacterCases[] = {
    {"VinWithAnEmoji", ControlId::sEdit_VIN, u"XYZ123\U0001F600",
     {Attention(Lacking(u"Идентификационный номер (VIN)", u"«\U0001F600» (U+1F600)"))}},
    {"VrnWithALatinUmlaut", ControlId::sEdit_VRN, u"\u00C4123ВС77",
     {Attention(Lacking(u"Регистрационный номер (VRN)", u"«\u00C4» (U+00C4)"))}},
    {"TyreSizeWithAFractionSlash", ControlId::sEdit_typeSize, u"315\u204480R22.5",
     {Attention(Lacking(u"Обозначение размера шин", u"«\u2044» (U+2044)"))}},
    {"WorkshopNamesTheFirstOfTwo", ControlId::sEdit_master_N, u"РФ\u4E2D\u6587",
     {Attention(Lacking(u"Номер мастерской", u"«\u4E2D» (U+4E2D)"))}},
    {"VinWithALoneSurrogateShowsItsCode", ControlId::sEdit_VIN, std::u16string{u'X', char16_t(0xD83D)},
     {Attention(Lacking(u"Идентификационный номер (VIN)", u"U+D83D"))}},
    {"VrnOfCyrillicLettersAndNumeroSign", ControlId::sEdit_VRN, u"Ёё№АВС", {}},
    {"TyreSizeWithANoBreakSpace", ControlId::sEdit_typeSize, u"315/80\u00A0R22.5", {}},
    {"VinTooWideAndWithAnEmojiGivesBothFaults", ControlId::sEdit_VIN, u"XYZ12345678901234\U0001F600",
     {Attention(u"Поле «Идентификационный номер (VIN)» длиннее 17 символов!\n Запись не выполнена: сократите "
                u"текст до 17 символов."),
      Attention(Lacking(u"Идентификационный номер (VIN)", u"«\U0001F600» (U+1F600)"))}},
};

INSTANTIATE_TEST_SUITE_P(Characters, CheckCalibrationOneEntry, ::testing::ValuesIn(kCharacterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckCalibrationTest, EmptyWThenBadL) {
  form.SetText(ControlId::sEdit_W, u"");
  form.SetText(ControlId::sEdit_L, u"5");
  EXPECT_EQ(CheckCalibration(form), 1);
  EXPECT_EQ(form.BoxTexts(), (std::vector<std::u16string>{u"Введите W!", kL}));
}

TEST_F(CheckCalibrationTest, NonNumericWEndsTheChecksWithTheConversionError) {
  form.SetText(ControlId::sEdit_VIN, u"");
  form.SetText(ControlId::sEdit_VRN, u"");
  form.SetText(ControlId::sEdit_W, u"80 ");
  form.SetText(ControlId::sEdit_L, u"");
  EXPECT_THROW(CheckCalibration(form), ConvertError);
  EXPECT_EQ(form.BoxTexts(), (std::vector<std::u16string>{u"Введите VIN!", u"Введите VRN!"}));
}

// A blank odometer reading is no number, but not empty either (the Odometer rows).
TEST_F(CheckCalibrationTest, BlankTextsAreNotEmpty) {
  for (ControlId id : {ControlId::sEdit_VIN, ControlId::sEdit_VRN, ControlId::sEdit_typeSize}) {
    form.SetText(id, u"   ");
  }
  EXPECT_EQ(CheckCalibration(form), 0);
  EXPECT_TRUE(form.boxes.empty());
}

TEST_F(CheckCalibrationTest, OdometerAndCharacterFaultsFollowTheEntryTestsInRecordOrder) {
  form.SetText(ControlId::sEdit_master_N, u"\u4E2D");
  form.SetText(ControlId::sEdit_VIN, u"\u4E2D");
  form.SetText(ControlId::sEdit_odometer, u"-5");
  form.SetText(ControlId::sEdit_speed, u"");
  EXPECT_EQ(CheckCalibration(form), 1);
  const std::vector<std::u16string> texts = form.BoxTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], u"Введите разрешённую скорость!");
  EXPECT_EQ(texts[1], kOdometer);
  EXPECT_TRUE(texts[2].starts_with(u"Поле «Идентификационный номер (VIN)» содержит символ «\u4E2D»"));
  EXPECT_TRUE(texts[3].starts_with(u"Поле «Номер мастерской» содержит символ «\u4E2D»"));
}

TEST_F(CheckCalibrationTest, TextsWiderThanTheirFieldAreRefused) {
  form.SetText(ControlId::sEdit_VIN, std::u16string(18, u'X'));
  form.SetText(ControlId::sEdit_master_N, std::u16string(16, u'Ф'));
  form.SetText(ControlId::sEdit_VRN, std::u16string(13, u'В'));  // exactly its width
  EXPECT_EQ(CheckCalibration(form), 1);
  ASSERT_EQ(form.boxes.size(), 2u);
  EXPECT_EQ(form.boxes[0].text,
            u"Поле «Идентификационный номер (VIN)» длиннее 17 символов!\n Запись не выполнена: сократите текст до 17 "
            u"символов.");
  EXPECT_EQ(form.boxes[1].text,
            u"Поле «Номер мастерской» длиннее 15 символов!\n Запись не выполнена: сократите текст до 15 символов.");
  EXPECT_EQ(form.boxes[0].caption, u"Внимание!");
}

}  // namespace
}  // namespace tacho
