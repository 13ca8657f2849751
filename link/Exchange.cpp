#include "Exchange.h"

#include <algorithm>

#include "Frames.h"
#include "PortSettings.h"

namespace tacho {
namespace {

// Closes the port however the exchange ends (a conversion error in beforeFrame
// or in the judgement ends it early).
struct ClosePortAtEnd {
  SerialPort& port;
  ~ClosePortAtEnd() { port.Close(); }
};

}  // namespace

void RunDeviceExchange(AppContext& app, const ExchangePlan& plan) {
  Session& s = app.session;
  ClosePortAtEnd closer{app.port};
  app.port.SetupPort(s.PortIndex, app.form);
  if (plan.beforeFrame) plan.beforeFrame();
  BuildFrame(s, plan.word);
  app.port.Write(s.FrameBuffer.data(), std::min(plan.writeCount, s.FrameBuffer.size()));
  s.FrameBuffer.fill(0);
  app.form.ResponsiveDelay(kReplyWaitMs);
  const std::size_t arrived = app.port.Read(s.FrameBuffer.data(), std::min(plan.readCount, s.FrameBuffer.size()));
  if (plan.secondWait) app.form.ResponsiveDelay(kReplyWaitMs);
  if (plan.judge) plan.judge(arrived);
  app.port.Close();
}

bool WriteAcknowledged(const Session& session, std::size_t arrived) {
  return arrived > kReplyStatusAt && session.FrameBuffer[0] == kFrameStart &&
         session.FrameBuffer[kReplyStatusAt] == kReplyOk;
}

void ShowWriteResult(const Session& session, IForm& form, std::size_t arrived) {
  const bool ok = WriteAcknowledged(session, arrived);
  form.ShowMessageBox(ok ? u"Данные успешно записаны" : kRetryMessage, kAttentionCaption);
}

}  // namespace tacho
