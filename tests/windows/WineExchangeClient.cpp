// The Windows side of the exchange tests: the three record commands and the
// port's open and close, through the Win32 serial code, against the emulated
// device that the Linux driver (WineExchangeDriverTest) links as COM40. Each
// test is started by the driver, which then checks what the device received.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "AppContext.h"
#include "CalibrationWrite.h"
#include "FormModel.h"
#include "GsmCommands.h"
#include "GsmRecord.h"
#include "SerialPort.h"
#include "Session.h"
#include "TextCodec.h"
#include "WineExchangeCases.h"

namespace tacho {
namespace {

class WineExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("TACHO_EMULATOR_PORT") == nullptr)
      GTEST_SKIP() << "started without the emulator (run by wine_exchange_driver_tests)";
    _putenv_s("TZ", wine::kTimeZone);
    _tzset();
    session.PortIndex = wine::kEmulatorPortIndex;
  }

  void ExpectOnlyBox(std::u16string_view text) {
    ASSERT_EQ(form.boxes.size(), 1u) << "boxes shown: " << form.boxes.size();
    EXPECT_EQ(form.boxes[0].text, text);
    EXPECT_EQ(form.boxes[0].caption, std::optional<std::u16string>(u"Внимание!"));
  }

  FormModel form{CivilDate{2024, 1, 10}};
  Session session;
  SerialPort port{PortMap("", {})};
  AppContext app{form, session, port};
};

TEST_F(WineExchange, CalibrationWrite) {
  wine::TypeCalibrationEntries(form);
  Write_Kalibr_ButtonClick(app);
  ExpectOnlyBox(u"Данные успешно записаны");
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(WineExchange, GsmRead) {
  Read_GSM_ButtonClick(app);
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(session.FrameBuffer[0], 0x02);
  EXPECT_EQ(session.FrameBuffer[1], 0x49);
  // The record stands at reply bytes 5..108.
  const std::vector<std::uint8_t> replied(session.FrameBuffer.begin() + 5, session.FrameBuffer.begin() + 109);
  EXPECT_EQ(replied, test::FullGsmRecord());
  const GsmEntries shown = ReadGsmEntries(form), held = wine::DeviceGsmEntries();
  EXPECT_EQ(ToUtf8(shown.address), ToUtf8(held.address));
  EXPECT_EQ(ToUtf8(shown.port), ToUtf8(held.port));
  EXPECT_EQ(ToUtf8(shown.connection), ToUtf8(held.connection));
  EXPECT_EQ(ToUtf8(shown.sendInterval), ToUtf8(held.sendInterval));
  EXPECT_EQ(ToUtf8(shown.saveInterval), ToUtf8(held.saveInterval));
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(WineExchange, GsmWrite) {
  PutGsmEntries(form, wine::TypedGsmEntries());
  Write_GSM_ButtonClick(app);
  ExpectOnlyBox(u"Данные успешно записаны");
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(WineExchange, PortOpensClosesAndReopens) {
  ASSERT_TRUE(port.SetupPort(wine::kEmulatorPortIndex));
  EXPECT_TRUE(port.IsOpen());
  port.Close();
  EXPECT_FALSE(port.IsOpen());

  // Closed: nothing reaches the device, and a second close does nothing.
  const std::array<std::uint8_t, 6> frame{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB};
  EXPECT_EQ(port.Write(frame.data(), frame.size()), 0u);
  port.Close();
  EXPECT_FALSE(port.IsOpen());

  ASSERT_TRUE(port.SetupPort(wine::kEmulatorPortIndex));
  EXPECT_TRUE(port.IsOpen());

  // An index outside the list lets go of the open port rather than use it.
  EXPECT_FALSE(port.SetupPort(kPortCount));
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace tacho
