// The operator list's presets and the defaults button.
#include "GsmPresets.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FormModel.h"
#include "GsmCheck.h"
#include "GsmRecord.h"
#include "TextCodec.h"

namespace tacho {
namespace {

void FillOthers(FormModel& form) {
  form.SetText(ControlId::Edit_IP, u"10.1.2.3");
  form.SetText(ControlId::Edit_port, u"1234");
  form.SetText(ControlId::Edit_operator, u"old");
  form.SetText(ControlId::Edit_int_send, u"60");
  form.SetText(ControlId::Edit_int_save, u"10");
}

struct PresetCase {
  const char* name;
  int index;
  std::u16string connection;
};

void PrintTo(const PresetCase& c, std::ostream* os) { *os << c.name; }

class sComboBox3ChangePreset : public ::testing::TestWithParam<PresetCase> {};

TEST_P(sComboBox3ChangePreset, PutsItsPresetIntoTheConnectionStringOnly) {
  FormModel form;
  FillOthers(form);
  form.SelectIndex(ControlId::sComboBox3, GetParam().index);
  sComboBox3Change(form);
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), GetParam().connection);
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"10.1.2.3");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"1234");
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_send), u"60");
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_save), u"10");
  EXPECT_TRUE(form.boxes.empty());
}

const PresetCase kPresetCases[] = {
    {"MTS", 0, u"\"internet.mts.ru\",\"mts\",\"mts\""},
    {"MegaFon", 1, u"\"internet\",\"gdata\",\"gdata\""},
    {"Beeline", 2, u"\"internet.beeline.ru\",\"beeline\",\"beeline\""},
    {"Tele2WithEmptyLoginAndPassword", 3, u"\"internet.tele2.ru\",\"\",\"\""},
    {"OtherIsTheFormToFillIn", 4, u"\" \",\" \",\" \""},
};

INSTANTIATE_TEST_SUITE_P(Cases, sComboBox3ChangePreset, ::testing::ValuesIn(kPresetCases),
                         [](const auto& info) { return std::string(info.param.name); });

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

// Four decimal numbers 0..255 joined by dots, without leading zeros.
bool IsDottedQuad(std::u16string_view text) {
  int parts = 0;
  for (;;) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') {
      value = value * 10 + (text[digits] - u'0');
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255 || (digits > 1 && text[0] == u'0')) return false;
    ++parts;
    text.remove_prefix(digits);
    if (text.empty()) return parts == 4;
    if (text[0] != u'.' || parts == 4) return false;
    text.remove_prefix(1);
  }
}

TEST(IsDottedQuad, TellsAnAddressFromOtherTexts) {
  const std::pair<const char16_t*, bool> cases[] = {
      {u"192.0.2.10", true},  {u"255.255.255.255", true}, {u"0.0.0.0", true},     {u"10.1.2", false},
      {u"10.1.2.3.4", false}, {u"256.1.2.3", false},      {u"010.1.2.3", false},  {u"10.1.2.3 ", false},
      {u"10..2.3", false},    {u"", false},               {u"server.ru", false},  {u"1.2.3.4.", false},
  };
  for (const auto& [text, valid] : cases) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_EQ(IsDottedQuad(text), valid);
  }
}

// Holds for whatever address the service sets as its server's.
TEST(Default_ButtonClick, DefaultServerIsAnIPv4AddressThatFitsTheRecord) {
  EXPECT_TRUE(IsDottedQuad(kDefaultServerAddress)) << ToUtf8(kDefaultServerAddress);
  EXPECT_LE(kDefaultServerAddress.size(), gsm::kAddressWidth);
}

TEST(Default_ButtonClick, DefaultsPassTheChecksAndGiveTheExpectedRecord) {
  FormModel form;
  Default_ButtonClick(form);
  EXPECT_EQ(CheckGsm(form), 1);
  Session session;
  FillGsm(form, session);
  const auto& p = session.PayloadArea;
  const std::string address = ToAnsi(kDefaultServerAddress);
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
