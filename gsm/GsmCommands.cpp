#include "GsmCommands.h"

#include "CommandExchange.h"
#include "Frames.h"
#include "GsmCheck.h"
#include "GsmRecord.h"

namespace tacho {

bool GsmReplyPasses(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer) {
  return FrameBuffer[0] == kFrameStart || FrameBuffer[1] == kFrameMarker;
}

bool GsmReplyWhole(std::size_t arrived) { return arrived > gsm::kReplyLastByte; }

void Read_GSM_ButtonClick(AppContext& app) {
  CommandLock lock(app.form, app.session);
  if (!lock) return;
  RunCommandExchange(app, lock,
                     {.word = "GSM_read",
                      .writeCount = kGsmReadFrameLength,
                      .readCount = kGsmReadReplyLength,
                      .judge = [&app](std::size_t arrived) {
                        // A failed or cut reply holds no settings: the technician's entries stay.
                        if (!GsmReplyPasses(app.session.FrameBuffer) || !GsmReplyWhole(arrived)) {
                          app.form.ShowMessageBox(kRetryMessage, kAttentionCaption);
                          return;
                        }
                        ShowGsm(app.session, app.form);
                      }});
}

void Write_GSM_ButtonClick(AppContext& app) {
  CommandLock lock(app.form, app.session);
  if (!lock) return;
  if (CheckGsm(app.form) != 1) return;
  RunCommandExchange(app, lock,
                     {.word = "GSM_write",
                      .writeCount = kGsmWriteFrameLength,
                      .readCount = kWriteReplyLength,
                      .beforeFrame = [&app] { FillGsm(app.form, app.session); },
                      .secondWait = true,
                      .judge = [&app](std::size_t arrived) { ShowWriteResult(app.session, app.form, arrived); }});
}

}  // namespace tacho
