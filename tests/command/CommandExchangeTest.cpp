// The exchange as a command runs it: the boxes the user sees, and the lock that
// owns the window while the command runs, against the emulator.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "AppError.h"
#include "CommandBench.h"
#include "CommandExchange.h"
#include "CommandLock.h"
#include "Frames.h"
#include "PortChoice.h"

namespace tacho {
namespace {

using emu::Fault;
using CommandBench = test::CommandBench;
using test::Enabled;
using test::LockedControls;

const std::u16string kSuccess = u"Данные успешно записаны";
const std::u16string kFailure = u"Произошла ошибка, повторите попытку.";
const std::u16string kOpenError = u"Ошибка открытия порта";

ExchangePlan WritePlan(CommandBench& b) {
  return {.word = "write",
          .writeCount = kWriteFrameLength,
          .readCount = kWriteReplyLength,
          .judge = [&b](std::size_t arrived) { ShowWriteResult(b.session, b.form, arrived); }};
}

void CalibrationWrite(CommandBench& b, ExchangePlan plan) {
  CommandLock lock(b.form, b.session);
  if (!lock) return;
  RunCommandExchange(b.app, lock, std::move(plan));
}

void CalibrationWrite(CommandBench& b) { CalibrationWrite(b, WritePlan(b)); }

TEST(CommandExchange, WithThePortUnavailableTheUserSeesTwoBoxesWithTheNormalCursor) {
  CommandBench b;
  b.session.PortIndex = 6;  // nothing linked as COM7
  CalibrationWrite(b);
  EXPECT_EQ(b.form.BoxTexts(), (std::vector<std::u16string>{kOpenError, kFailure}));
  EXPECT_EQ(b.form.boxes[0].caption, std::u16string(u"Внимание!"));
  EXPECT_EQ(b.form.boxes[1].caption, std::u16string(u"Внимание!"));
  // Busy while the port works, normal for each box.
  using enum ScreenCursor;
  EXPECT_EQ(b.form.cursorHistory, (std::vector<ScreenCursor>{Busy, Normal, Busy, Normal}));
}

TEST(CommandExchange, AnAnsweringDeviceGivesOneSuccessBox) {
  CommandBench b;
  auto device = b.Device(1);
  CalibrationWrite(b);
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kSuccess});
  EXPECT_EQ(device->ReceivedFrames().size(), 1u);
}

TEST(CommandExchange, TheWriteResultIsShownInItsBox) {
  struct Case {
    const char* name;
    std::uint8_t firstByte;
    std::size_t arrived;
    std::u16string text;
  };
  for (const Case& c : {Case{"acknowledged", 0x02, 7, kSuccess}, Case{"cut after the start byte", 0x02, 1, kFailure},
                        Case{"no reply", 0x00, 0, kFailure}}) {
    SCOPED_TRACE(c.name);
    Session session;
    session.FrameBuffer[0] = c.firstByte;
    FormModel form;
    ShowWriteResult(session, form, c.arrived);
    EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{c.text});
    EXPECT_EQ(form.boxes[0].caption, std::u16string(u"Внимание!"));
  }
}

TEST(CommandLock, TheLockedControlsAreDisabledDuringTheWaitAndComeBackAfter) {
  CommandBench b;
  auto device = b.Device(1);
  const std::vector<ControlId> locked = LockedControls();
  ASSERT_EQ(locked.size(), 10u);
  std::vector<ControlId> enabledDuringWait = locked;
  bool fieldsEditable = false;
  ScreenCursor cursorDuringWait = ScreenCursor::Normal;
  b.form.onDelay = [&](int) {
    enabledDuringWait = Enabled(b.form, locked);
    fieldsEditable = b.form.IsEnabled(ControlId::sEdit_VIN) && b.form.IsEnabled(ControlId::Edit_IP);
    cursorDuringWait = b.form.cursor;
  };
  CalibrationWrite(b);
  EXPECT_TRUE(enabledDuringWait.empty());
  EXPECT_TRUE(fieldsEditable);
  EXPECT_EQ(cursorDuringWait, ScreenCursor::Busy);
  EXPECT_EQ(Enabled(b.form, locked), locked);
  EXPECT_EQ(b.form.cursor, ScreenCursor::Normal);
}

// However the command ends, the window is given back.
struct EndCase {
  const char* name;
  void (*end)(CommandBench& b, ExchangePlan& plan);
};

// Test names and failures show the row by its name.
void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class CommandEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(CommandEnd, GivesTheLockedControlsBack) {
  CommandBench b;
  auto device = b.Device(1);
  b.form.SetEnabled(ControlId::Help_Button, false);  // disabled before: stays so
  ExchangePlan plan = WritePlan(b);
  GetParam().end(b, plan);
  try {
    CalibrationWrite(b, std::move(plan));
  } catch (const ConvertError&) {
  } catch (const WindowClosed&) {
  }
  std::vector<ControlId> expected = LockedControls();
  std::erase(expected, ControlId::Help_Button);
  EXPECT_EQ(Enabled(b.form, LockedControls()), expected);
  EXPECT_EQ(b.form.cursor, ScreenCursor::Normal);
  EXPECT_FALSE(b.session.commandRunning);
  EXPECT_FALSE(b.port.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CommandEnd,
    ::testing::Values(EndCase{"WithItsBox", [](CommandBench&, ExchangePlan&) {}},
                      EndCase{"WithAConversionError",
                              [](CommandBench&, ExchangePlan& plan) {
                                plan.beforeFrame = [] { throw ConvertError(u"'x' is not a valid integer value"); };
                              }},
                      EndCase{"WithTheWindowClosed",
                              [](CommandBench& b, ExchangePlan&) {
                                b.form.onDelay = [&b](int) { b.form.closed = true; };
                              }}),
    [](const ::testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST(CommandExchange, TheWindowClosedDuringTheWaitShowsNoBox) {
  CommandBench b;
  auto device = b.Device(1);
  b.form.onDelay = [&](int) { b.form.closed = true; };
  EXPECT_THROW(CalibrationWrite(b), WindowClosed);
  b.form.closed = false;
  EXPECT_TRUE(b.form.boxes.empty());
}

TEST(CommandExchange, ClicksDuringTheWaitAreRefusedQuietly) {
  CommandBench b;
  auto device = b.Device(1);
  b.form.SelectIndex(ControlId::sComboBox_port, 0);  // the search item
  int clicks = 0;
  b.form.onDelay = [&](int) {
    if (clicks++ > 0) return;
    CalibrationWrite(b);          // a second write
    Search_ButtonClick(b.app);    // a search
    sComboBox_portChange(b.app);  // picking the search item
  };
  CalibrationWrite(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kSuccess});
  EXPECT_EQ(device->ReceivedFrames().size(), 1u);
  EXPECT_EQ(b.form.ItemCount(ControlId::sComboBox_port), 1);
  EXPECT_EQ(b.session.PortIndex, 0);
  EXPECT_FALSE(b.session.commandRunning);
  EXPECT_EQ(Enabled(b.form, LockedControls()), LockedControls()) << "the refused clicks took no lock of their own";
}

}  // namespace
}  // namespace tacho
