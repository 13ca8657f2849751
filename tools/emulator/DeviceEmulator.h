// The device emulator: plays the tachograph on a pseudo-terminal. It links its
// pseudo-terminal as COMn in a port folder, answers the probe, "write",
// "GSM_read" and "GSM_write" frames on its own thread, keeps the GSM settings it
// was given, and can misbehave on purpose (the faults below). POSIX only.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <termios.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tacho::emu {

inline constexpr std::size_t kGsmRecordSize = 104;
inline constexpr std::size_t kCalibrationRecordSize = 184;
using GsmRecord = std::array<std::uint8_t, kGsmRecordSize>;
using CalibrationRecord = std::array<std::uint8_t, kCalibrationRecordSize>;

// Reply status byte (reply byte 5): 0x00 on success, non-zero on a bad frame.
inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBadChecksum = 0x01;
inline constexpr std::uint8_t kStatusBadLength = 0x02;
inline constexpr std::uint8_t kStatusUnknownCommand = 0x03;
inline constexpr std::uint8_t kStatusBadLayout = 0x04;  // "write" filler bytes 175..184 not zero

// Time of one byte on the wire at 9600 baud, 8E1: 11 bits.
inline constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 9600};

enum class Fault {
  None,
  Silent,          // receives, never answers
  Garbage,         // answers bytes that are no reply (byte 0 not 0x02, byte 1 not 0x49)
  ShortReply,      // answers only the first half of its reply
  LateReply,       // answers after lateReplyMs, past every wait and read of the tool
  BadFirstByte,    // answers its reply with byte 0 = 0x03
  HangUp,          // hangs up after a frame's first five bytes, then comes back on a new pseudo-terminal
  Bursts,          // answers in bursts of burstBytes with burstGapMs of silence between them
  JunkFirst,       // puts junkBytes bytes of line noise before its reply
  LateIntoNext,    // holds each reply back and sends it when the next frame comes in
  CutGsm,          // a GSM settings reply stops after reply byte gsmCutAfterByte
  Slow,            // thinks thinkMs after a frame's last byte before it answers
  StopsReading,    // stops taking bytes off the line: nothing it is sent arrives
  HangUpMidReply,  // sends the first half of its reply, hangs up, comes back on a new pseudo-terminal
};

// "none", "silent", "garbage", "short", "late", "bad-first-byte", "hangup",
// "bursts", "junk-first", "late-into-next", "cut-gsm", "slow", "stops-reading",
// "hangup-mid-reply".
std::string_view FaultName(Fault fault);
inline constexpr Fault kAllFaults[] = {
    Fault::None,         Fault::Silent, Fault::Garbage, Fault::ShortReply,   Fault::LateReply,
    Fault::BadFirstByte, Fault::HangUp, Fault::Bursts,  Fault::JunkFirst,    Fault::LateIntoNext,
    Fault::CutGsm,       Fault::Slow,   Fault::StopsReading, Fault::HangUpMidReply,
};
std::optional<Fault> ParseFault(std::string_view name);

struct EmulatorOptions {
  std::string portFolder;  // where the COMn link goes; created when missing
  int comNumber = 3;       // 1..42
  bool createLink = true;  // false: only the pseudo-terminal (its path is DevicePath())
  bool realisticPacing = false;  // frames take their wire time in, replies go out byte by byte
  int replyDelayMs = 0;          // after a frame's last byte, before the reply
  int lateReplyMs = 2500;        // LateReply: after a frame's last byte
  int burstBytes = 4;            // Bursts: bytes in each burst
  int burstGapMs = 40;           // Bursts: silence between two bursts
  int junkBytes = 3;             // JunkFirst: noise bytes before the reply
  int gsmCutAfterByte = 40;      // CutGsm: the last reply byte sent
  int thinkMs = 250;             // Slow: after a frame's last byte, before the reply
  Fault fault = Fault::None;
  // Called on the emulator's thread with a readable account of each frame received.
  std::function<void(const std::string&)> log;
};

class DeviceEmulator {
 public:
  // Opens the pseudo-terminal, links it and starts answering. Throws
  // std::runtime_error when the pseudo-terminal or the link cannot be made.
  explicit DeviceEmulator(EmulatorOptions options);
  // Stops the thread, removes the link (if it is still ours) and hangs up.
  ~DeviceEmulator();
  DeviceEmulator(const DeviceEmulator&) = delete;
  DeviceEmulator& operator=(const DeviceEmulator&) = delete;

  // The pseudo-terminal's slave, e.g. /dev/pts/4 (changes after a HangUp).
  std::string DevicePath() const;
  // portFolder/COMn.
  std::string LinkPath() const;

  // Whole frames received, in order, as they came (the probe is six bytes).
  std::vector<std::vector<std::uint8_t>> ReceivedFrames() const;
  // Every byte received, frames and stray bytes alike (the probe's seventh byte).
  std::vector<std::uint8_t> ReceivedBytes() const;
  // Waits until at least `count` frames have been received; false on time-out.
  bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
  void ClearReceived();

  GsmRecord GetGsmRecord() const;
  void SetGsmRecord(const GsmRecord& record);
  // The record of the last good "write" frame (bytes 5..173 and 185..199).
  std::optional<CalibrationRecord> LastCalibrationRecord() const;

  // The line's settings as the device side sees them.
  termios LineSettings() const;
  // Puts bytes on the line now, unasked (leftovers that a purge must discard).
  void SendUnsolicited(const std::vector<std::uint8_t>& bytes);
  // Bytes the tool has put on the line that the device has not taken yet
  // (while it stops reading).
  std::size_t PendingFromTool() const;

  void SetFault(Fault fault);
  Fault GetFault() const;

  // The record the device holds before any GSM_write.
  static GsmRecord DefaultGsmRecord();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tacho::emu
