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

TEST_F(CheckCalibrationTest, RangeBoundsAreAccepted) {
  struct Case {
    ControlId control;
    const char16_t* text;
    const std::u16string* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {ControlId::sEdit_W, u"499", &kW},       {ControlId::sEdit_W, u"500", nullptr},
      {ControlId::sEdit_W, u"60000", nullptr}, {ControlId::sEdit_W, u"60001", &kW},
      {ControlId::sEdit_W, u"-500", &kW},      {ControlId::sEdit_L, u"9", &kL},
      {ControlId::sEdit_L, u"10", nullptr},    {ControlId::sEdit_L, u"65000", nullptr},
      {ControlId::sEdit_L, u"65001", &kL},     {ControlId::sEdit_speed, u"9", &kV},
      {ControlId::sEdit_speed, u"10", nullptr}, {ControlId::sEdit_speed, u"200", nullptr},
      {ControlId::sEdit_speed, u"201", &kV},
  };
  for (const Case& c : cases) {
    SetUp();
    form.boxes.clear();
    form.SetText(c.control, c.text);
    EXPECT_EQ(CheckCalibration(form), c.message ? 1 : 0) << ToUtf8(c.text);
    if (c.message) {
      ASSERT_EQ(form.boxes.size(), 1u);
      EXPECT_EQ(form.boxes[0].text, *c.message);
      EXPECT_EQ(form.boxes[0].caption, u"Внимание!");
    } else {
      EXPECT_TRUE(form.boxes.empty());
    }
  }
}

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

TEST_F(CheckCalibrationTest, BlankTextsAreNotEmpty) {
  form.SetText(ControlId::sEdit_VIN, u"   ");
  form.SetText(ControlId::sEdit_odometer, u" ");
  EXPECT_EQ(CheckCalibration(form), 0);
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
