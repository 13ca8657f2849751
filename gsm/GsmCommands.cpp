#include "GsmCommands.h"

#include "CommandExchange.h"
#include "Frames.h"
#include "GsmCheck.h"
#include "GsmRecord.h"

namespace tacho {

bool GsmReplyPasses(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer) {
  return FrameBuffer[0] == kFrameStart || FrameBuffer[1] == kFrameMarker;
}

void Read_GSM_ButtonClick(AppContext& app) {
  CommandLock lock(app.form, app.session);
  if (!lock) return;
  RunCommandExchange(app, lock,
                     {.word = "GSM_read",
                      .writeCount = kGsmReadFrameLength,
                      .readCount = kGsmReadReplyLength,
                      .judge = [&app] {
                        // A failed reply holds no settings: the technician's entries stay.
                        if (!GsmReplyPasses(app.session.FrameBuffer)) {
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
                      .judge = [&app] { ShowWriteResult(app.session, app.form); }});
}

}  // namespace tacho
