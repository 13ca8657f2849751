// The operator list's presets and the defaults button.
#include "GsmPresets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FormModel.h"
#include "GsmCheck.h"
#include "GsmRecord.h"

namespace tacho {
namespace {

void FillOthers(FormModel& form) {
  form.SetText(ControlId::Edit_IP, u"10.1.2.3");
  form.SetText(ControlId::Edit_port, u"1234");
  form.SetText(ControlId::Edit_operator, u"old");
  form.SetText(ControlId::Edit_int_send, u"60");
  form.SetText(ControlId::Edit_int_save, u"10");
}

TEST(sComboBox3Change, PickedOperatorPutsItsPresetIntoTheConnectionStringOnly) {
  const std::u16string expected[] = {
      u"\"internet.mts.ru\",\"mts\",\"mts\"",
      u"\"internet\",\"gdata\",\"gdata\"",
      u"\"internet.beeline.ru\",\"beeline\",\"beeline\"",
      u"\"internet.tele2.ru\",\"\",\"\"",
      u"\" \",\" \",\" \"",
  };
  for (int index = 0; index < 5; ++index) {
    FormModel form;
    FillOthers(form);
    form.SelectIndex(ControlId::sComboBox3, index);
    sComboBox3Change(form);
    EXPECT_EQ(form.ReadText(ControlId::Edit_operator), expected[index]) << index;
    EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"10.1.2.3");
    EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"1234");
    EXPECT_EQ(form.ReadText(ControlId::Edit_int_send), u"60");
    EXPECT_EQ(form.ReadText(ControlId::Edit_int_save), u"10");
    EXPECT_TRUE(form.boxes.empty());
  }
}

TEST(sComboBox3Change, NoSelectionChangesNothing) {
  FormModel form;
  FillOthers(form);
  sComboBox3Change(form);
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), u"old");
}

TEST(Default_ButtonClick, SelectsMtsAndSetsTheServiceDefaults) {
  FormModel form;
  FillOthers(form);
  Default_ButtonClick(form);
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), 0);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox3), u"МТС");
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), kDefaultServerAddress);
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"21400");
  // One blank more than picking МТС gives.
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), u"\"internet.mts.ru\",\"mts\",\"mts\" ");
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_send), u"40");
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_save), u"5");
  EXPECT_TRUE(form.boxes.empty());
}

TEST(Default_ButtonClick, DefaultServerIsADocumentationAddressUntilTheServiceSetsItsOwn) {
  EXPECT_EQ(kDefaultServerAddress.substr(0, 8), u"192.0.2.");
}

TEST(Default_ButtonClick, DefaultsPassTheChecksAndGiveTheExpectedRecord) {
  FormModel form;
  Default_ButtonClick(form);
  EXPECT_EQ(CheckGsm(form), 1);
  Session session;
  FillGsm(form, session);
  const auto& p = session.PayloadArea;
  const std::string address = "192.0.2.10";
  EXPECT_TRUE(std::equal(address.begin(), address.end(), p.begin()));
  EXPECT_EQ(p[gsm::kAddress + address.size()], 0x20);
  const std::uint8_t port[] = {0x32, 0x31, 0x34, 0x30, 0x30};
  EXPECT_TRUE(std::equal(std::begin(port), std::end(port), p.begin() + gsm::kPort));
  const std::string connection = "\"internet.mts.ru\",\"mts\",\"mts\" ";
  EXPECT_TRUE(std::equal(connection.begin(), connection.end(), p.begin() + gsm::kConnection));
  EXPECT_EQ(p[gsm::kConnection + connection.size()], 0x00);
  EXPECT_EQ(p[gsm::kSendInterval], 0x04);
  EXPECT_EQ(p[gsm::kSaveInterval], 0x01);
}

}  // namespace
}  // namespace tacho
