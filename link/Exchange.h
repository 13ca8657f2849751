// The device exchange every record command runs: open PortIndex, build the frame,
// write it, clear the FrameBuffer, wait 200 ms, read the reply, judge, close.
// Each port operation runs through the waiter, so the window keeps handling its
// events; the exchange itself shows nothing.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

#include "SerialPort.h"
#include "Session.h"
#include "Waiter.h"

namespace tacho {

inline constexpr int kReplyWaitMs = 200;

// What a command adds to the fixed sequence; every hook may be left empty.
struct ExchangePlan {
  std::string_view word{};                // "write", "GSM_read", "GSM_write"
  std::size_t writeCount = 0;             // bytes of the FrameBuffer written
  std::size_t readCount = 0;              // at most this many reply bytes read
  std::function<void()> portNotOpened{};  // right after a failed SetupPort; the exchange goes on
  std::function<void()> beforeFrame{};    // after SetupPort, before BuildFrame
  bool secondWait = false;                // 200 ms more after the read
  // Judges the reply in the FrameBuffer, given how many reply bytes arrived.
  std::function<void(std::size_t arrived)> judge{};
};

// The caller holds the session's command guard for the whole command, so that
// nothing else touches the port or the FrameBuffer during the waits. The port is
// closed however the exchange ends; WindowClosed from a wait ends it early.
void RunDeviceExchange(IWaiter& waiter, Session& session, SerialPort& port, const ExchangePlan& plan);

// A write is acknowledged when at least six reply bytes arrived, byte 0 is
// 0x02 and byte 5 is 0x00: a zero that never came is no success.
bool WriteAcknowledged(const Session& session, std::size_t arrived);

}  // namespace tacho
