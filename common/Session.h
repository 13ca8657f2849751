// The areas a command works in: the record being assembled, the frame and reply
// buffer, the chosen port, and the guard that keeps commands from overlapping.
// One Session lives as long as the window; a test makes a fresh one.
#pragma once

#include <array>
#include <cstdint>

namespace tacho {

inline constexpr std::size_t kPayloadSize = 184;
inline constexpr std::size_t kFrameBufferSize = 400;
// Every record assembly starts by setting PayloadArea bytes 0..169 to 0xFF.
inline constexpr std::size_t kPayloadFillEnd = 170;

struct Session {
  std::array<std::uint8_t, kPayloadSize> PayloadArea{};
  std::array<std::uint8_t, kFrameBufferSize> FrameBuffer{};
  int PortIndex = 0;        // 0 stands for COM1; set only by the search and the port list
  bool commandRunning = false;
};

// Marks a command as running for its lifetime. A command that finds another one
// running (a click during a wait) is refused quietly: `if (!scope) return;`.
class CommandScope {
 public:
  explicit CommandScope(Session& session) : session_(session), owns_(!session.commandRunning) {
    if (owns_) session_.commandRunning = true;
  }
  ~CommandScope() {
    if (owns_) session_.commandRunning = false;
  }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;
  explicit operator bool() const { return owns_; }

 private:
  Session& session_;
  bool owns_;
};

}  // namespace tacho
