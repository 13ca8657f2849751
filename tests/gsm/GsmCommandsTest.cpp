// The GSM page's read and write commands, through the real serial code against
// the device emulator on a pseudo-terminal.
#include "GsmCommands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "DeviceEmulator.h"
#include "FormModel.h"
#include "GsmPresets.h"
#include "GsmRecord.h"
#include "HandlerRunner.h"
#include "SerialPort.h"
#include "TextCodec.h"

namespace tacho {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Shown = std::pair<std::u16string, std::optional<std::u16string>>;

const std::u16string kOtherPreset = u"\" \",\" \",\" \"";
const Shown kWritten{u"Данные успешно записаны", u"Внимание!"};
const Shown kFailed{u"Произошла ошибка, повторите попытку.", u"Внимание!"};
const Shown kOpenFailed{u"Ошибка открытия порта", u"Внимание!"};

// The worked example's record, byte by byte.
Bytes WorkedExampleRecord() {
  Bytes r = {0x31, 0x30, 0x2E, 0x31, 0x2E, 0x32, 0x2E, 0x33};
  r.insert(r.end(), 7, 0x20);
  r.insert(r.end(), {0x32, 0x31, 0x34, 0x30, 0x30});
  r.insert(r.end(), {0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22, 0x00});
  r.insert(r.end(), 38, 0x20);
  r.insert(r.end(), {0x04, 0x01});
  r.insert(r.end(), 32, 0xFF);
  return r;
}

std::vector<Shown> MessageBoxes(const FormModel& form) {
  std::vector<Shown> shown;
  for (const auto& box : form.boxes) shown.emplace_back(box.text, box.caption);
  return shown;
}

class GsmCommands : public ::testing::Test {
 protected:
  static constexpr int kCom = 3;

  GsmCommands() : folder_(MakeFolder()), port_(PortMap(folder_.string(), {})) {
    emu::EmulatorOptions options;
    options.portFolder = folder_.string();
    options.comNumber = kCom;
    emulator_ = std::make_unique<emu::DeviceEmulator>(options);
    session_.PortIndex = kCom - 1;
  }
  ~GsmCommands() override {
    emulator_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static std::filesystem::path MakeFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "gsm-commands-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }

  // As the event loop runs a click: an escaping error goes to the error box.
  void Click(void (*handler)(AppContext&)) {
    RunHandler(form_, [&] { handler(app_); });
  }

  std::filesystem::path folder_;
  FormModel form_;
  Session session_;
  SerialPort port_;
  AppContext app_{form_, session_, port_};
  std::unique_ptr<emu::DeviceEmulator> emulator_;
};

TEST_F(GsmCommands, WorkedExampleIsWrittenAsItsFrameAndReadsBackAsItsTexts) {
  PutGsmEntries(form_, {u"10.1.2.3", u"21400", kOtherPreset, u"40", u"5"});
  Click(Write_GSM_ButtonClick);

  Bytes frame = {0x02, 0x49, 0x68, 0x39, 0x00};
  const Bytes record = WorkedExampleRecord();
  frame.insert(frame.end(), record.begin(), record.end());
  frame.push_back(0x92);
  ASSERT_TRUE(emulator_->WaitForFrames(1, std::chrono::seconds(2)));
  EXPECT_EQ(emulator_->ReceivedFrames(), std::vector<Bytes>{frame});
  EXPECT_EQ(MessageBoxes(form_), std::vector<Shown>{kWritten});
  EXPECT_EQ(form_.delays, (std::vector<int>{200, 200}));  // the write waits again after its read

  PutGsmEntries(form_, {u"x", u"x", u"x", u"x", u"x"});
  form_.boxes.clear();
  emulator_->ClearReceived();
  Click(Read_GSM_ButtonClick);

  EXPECT_EQ(emulator_->ReceivedFrames(), (std::vector<Bytes>{{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB}}));
  EXPECT_TRUE(form_.boxes.empty());
  EXPECT_EQ(ReadGsmEntries(form_),
            (GsmEntries{u"10.1.2.3       ", u"21400", kOtherPreset + std::u16string(38, u' '), u"40", u"5"}));
}

TEST_F(GsmCommands, DefaultsThenWriteSendTheDefaultRecord) {
  Default_ButtonClick(form_);
  Click(Write_GSM_ButtonClick);
  EXPECT_EQ(MessageBoxes(form_), std::vector<Shown>{kWritten});

  const emu::GsmRecord held = emulator_->GetGsmRecord();
  const Bytes record(held.begin(), held.end());
  auto field = [&](std::size_t offset, std::size_t width) {
    return std::string(record.begin() + static_cast<std::ptrdiff_t>(offset),
                       record.begin() + static_cast<std::ptrdiff_t>(offset + width));
  };
  std::string address = ToAnsi(kDefaultServerAddress);
  address.resize(gsm::kAddressWidth, ' ');
  EXPECT_EQ(field(gsm::kAddress, gsm::kAddressWidth), address);
  EXPECT_EQ(field(gsm::kPort, gsm::kPortWidth), "21400");
  const std::string connection = "\"internet.mts.ru\",\"mts\",\"mts\" ";
  EXPECT_EQ(field(gsm::kConnection, connection.size() + 1), connection + '\0');
  EXPECT_EQ(record[gsm::kSendInterval], 0x04);
  EXPECT_EQ(record[gsm::kSaveInterval], 0x01);
  EXPECT_EQ(Bytes(record.begin() + gsm::kTail, record.end()), Bytes(32, 0xFF));
}

struct RefusedCase {
  const char* name;
  GsmEntries entries;
  std::vector<std::u16string> texts;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class GsmWriteRefused : public GsmCommands, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(GsmWriteRefused, OpensNoPortAndSendsNothing) {
  PutGsmEntries(form_, GetParam().entries);
  Click(Write_GSM_ButtonClick);
  EXPECT_EQ(form_.BoxTexts(), GetParam().texts);
  EXPECT_TRUE(form_.delays.empty());
  EXPECT_TRUE(emulator_->ReceivedBytes().empty());
}

const RefusedCase kRefusedCases[] = {
    {"AllEmpty",
     {u"", u"", u"", u"", u""},
     {u"Введите строку подключения!", u"Введите IP!", u"Введите номер порта!",
      u"Введите интервал сохранения данных!", u"Введите интервал передачи данных!",
      u"'' is not a valid integer value"}},
    {"BothIntervalsOutOfRange",
     {u"10.1.2.3", u"21400", kOtherPreset, u"9", u"1201"},
     {u"Некорректно введен интервал передачи данных!\n Значение должно быть в пределах от 10 до 2500 секунд.",
      u"Некорректно введен интервал сохранения данных!\n Значение должно быть в пределах от 5 до 1200 секунд."}},
    {"PortTooWide",
     {u"10.1.2.3", u"214000", kOtherPreset, u"40", u"5"},
     {u"Поле «Порт» длиннее 5 символов!\n Запись не выполнена: сократите текст до 5 символов."}},
    {"ConnectionWithACharacterOutside1251",
     {u"10.1.2.3", u"21400", u"\"internet\u2024mts\",\"\",\"\"", u"40", u"5"},
     {u"Поле «Строка подключения» содержит символ «\u2024» (U+2024), которого нет в кодировке Windows-1251!\n "
      u"Запись не выполнена: замените или удалите этот символ."}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GsmWriteRefused, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GsmCommands, ReadThatGetsNoReplyKeepsThePageEntries) {
  const GsmEntries entries{u"10.1.2.3", u"21400", kOtherPreset, u"60", u"10"};
  PutGsmEntries(form_, entries);
  form_.SelectIndex(ControlId::sComboBox3, 4);
  emulator_->SetFault(emu::Fault::Silent);
  Click(Read_GSM_ButtonClick);
  EXPECT_EQ(MessageBoxes(form_), std::vector<Shown>{kFailed});
  EXPECT_EQ(ReadGsmEntries(form_), entries);
  EXPECT_EQ(form_.SelectedIndex(ControlId::sComboBox3), 4);
  EXPECT_EQ(emulator_->ReceivedFrames().size(), 1u);
}

TEST_F(GsmCommands, ReadFromAPortThatDoesNotOpenKeepsThePageEntries) {
  const GsmEntries entries{u"10.1.2.3", u"21400", kOtherPreset, u"60", u"10"};
  PutGsmEntries(form_, entries);
  session_.PortIndex = kCom;  // nothing stands behind COM4
  Click(Read_GSM_ButtonClick);
  EXPECT_EQ(MessageBoxes(form_), (std::vector<Shown>{kOpenFailed, kFailed}));
  EXPECT_EQ(ReadGsmEntries(form_), entries);
}

TEST_F(GsmCommands, ReplyPassesItsTestOnEitherHeaderByte) {
  // The emulator's reply with byte 0 = 0x03 still has 0x49 at byte 1.
  emulator_->SetFault(emu::Fault::BadFirstByte);
  Click(Read_GSM_ButtonClick);
  EXPECT_TRUE(form_.boxes.empty());
  const emu::GsmRecord held = emulator_->GetGsmRecord();
  std::array<std::uint8_t, kFrameBufferSize> reply{};
  reply[1] = 0x49;
  std::copy(held.begin(), held.end(), reply.begin() + gsm::kReplyRecordStart);
  EXPECT_EQ(ReadGsmEntries(form_), ShowGsm(reply));
}

struct ReplyHeaderCase {
  const char* name;
  std::uint8_t b0, b1;
  bool passes;
};

void PrintTo(const ReplyHeaderCase& c, std::ostream* os) { *os << c.name; }

class GsmReplyTest : public ::testing::TestWithParam<ReplyHeaderCase> {};

TEST_P(GsmReplyTest, PassesWhenByte0Is02OrByte1Is49) {
  std::array<std::uint8_t, kFrameBufferSize> reply{};
  reply[0] = GetParam().b0;
  reply[1] = GetParam().b1;
  EXPECT_EQ(GsmReplyPasses(reply), GetParam().passes);
}

const ReplyHeaderCase kReplyHeaderCases[] = {
    {"Both", 0x02, 0x49, true},        {"Byte0Only", 0x02, 0x00, true}, {"Byte1Only", 0x00, 0x49, true},
    {"NeitherNear", 0x01, 0x48, false}, {"Zeros", 0x00, 0x00, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, GsmReplyTest, ::testing::ValuesIn(kReplyHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GsmCommands, ClickDuringAWriteIsRefusedQuietly) {
  Default_ButtonClick(form_);
  bool clicked = false;
  form_.onDelay = [&](int) {
    if (clicked) return;
    clicked = true;
    Click(Read_GSM_ButtonClick);
    Click(Write_GSM_ButtonClick);
  };
  Click(Write_GSM_ButtonClick);
  EXPECT_EQ(MessageBoxes(form_), std::vector<Shown>{kWritten});
  EXPECT_EQ(emulator_->ReceivedFrames().size(), 1u);
}

}  // namespace
}  // namespace tacho
