// The device exchange every record command runs: open PortIndex, build the frame,
// write it, clear the FrameBuffer, wait 200 ms, read the reply, judge, close.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "AppContext.h"

namespace tacho {

inline constexpr int kReplyWaitMs = 200;
// The outcome of a command that went wrong, whatever the cause; caption "Внимание!".
inline constexpr std::u16string_view kRetryMessage = u"Произошла ошибка, повторите попытку.";

struct ExchangePlan {
  std::string_view word;                 // "write", "GSM_read", "GSM_write"
  std::size_t writeCount;                // bytes of the FrameBuffer written
  std::size_t readCount;                 // at most this many reply bytes read
  std::function<void()> beforeFrame;     // after SetupPort, before BuildFrame
  bool secondWait = false;               // 200 ms more after the read
  // Shows the outcome from the FrameBuffer, given how many reply bytes arrived.
  std::function<void(std::size_t arrived)> judge;
};

// The handler that calls it holds the session's CommandScope for the whole
// command, so that nothing else runs an exchange or a search during the waits.
// The port is closed however the exchange ends.
void RunDeviceExchange(AppContext& app, const ExchangePlan& plan);

// A write is acknowledged when at least six reply bytes arrived, byte 0 is
// 0x02 and byte 5 is 0x00: a zero that never came is no success.
bool WriteAcknowledged(const Session& session, std::size_t arrived);
// "Данные успешно записаны" when the write is acknowledged, else
// "Произошла ошибка, повторите попытку."; caption "Внимание!".
void ShowWriteResult(const Session& session, IForm& form, std::size_t arrived);

}  // namespace tacho
