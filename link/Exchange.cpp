#include "Exchange.h"

#include <algorithm>
#include <vector>

#include "Frames.h"
#include "PortSteps.h"

namespace tacho {

void RunDeviceExchange(IWaiter& waiter, Session& s, SerialPort& port, const ExchangePlan& plan) {
  ClosePortAtEnd closer(waiter, port);
  const int index = s.PortIndex;
  bool opened = false;
  waiter.RunBlocking([&] { opened = port.SetupPort(index); });
  if (!opened && plan.portNotOpened) plan.portNotOpened();
  if (plan.beforeFrame) plan.beforeFrame();
  BuildFrame(s, plan.word);
  // The worker writes from its own copy and reads into its own buffer: the
  // session's areas are touched on the user-interface thread only.
  const std::size_t writeCount = std::min(plan.writeCount, s.FrameBuffer.size());
  const std::vector<std::uint8_t> frame(s.FrameBuffer.begin(), s.FrameBuffer.begin() + writeCount);
  waiter.RunBlocking([&] { port.Write(frame.data(), frame.size()); });
  s.FrameBuffer.fill(0);
  waiter.ResponsiveDelay(kReplyWaitMs);
  const std::size_t readCount = std::min(plan.readCount, s.FrameBuffer.size());
  std::vector<std::uint8_t> reply(readCount, 0);
  std::size_t arrived = 0;
  waiter.RunBlocking([&] { arrived = port.Read(reply.data(), reply.size()); });
  std::copy(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(arrived), s.FrameBuffer.begin());
  if (plan.secondWait) waiter.ResponsiveDelay(kReplyWaitMs);
  if (plan.judge) plan.judge(arrived);
  closer.Close();
}

bool WriteAcknowledged(const Session& session, std::size_t arrived) {
  return arrived > kReplyStatusAt && session.FrameBuffer[0] == kFrameStart &&
         session.FrameBuffer[kReplyStatusAt] == kReplyOk;
}

}  // namespace tacho
