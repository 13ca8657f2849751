#include "GsmCommands.h"

#include "Exchange.h"
#include "Frames.h"
#include "GsmCheck.h"
#include "GsmRecord.h"

namespace tacho {

bool GsmReplyPasses(const std::array<std::uint8_t, kFrameBufferSize>& FrameBuffer) {
  return FrameBuffer[0] == kFrameStart || FrameBuffer[1] == kFrameMarker;
}

bool GsmReplyWhole(std::size_t arrived) { return arrived > gsm::kReplyLastByte; }

void Read_GSM_ButtonClick(AppContext& app) {
  CommandScope scope(app.session);
  if (!scope) return;
  ExchangePlan plan{"GSM_read", kGsmReadFrameLength, kGsmReadReplyLength, {}, false, [&app](std::size_t arrived) {
                      // A failed or cut reply holds no settings: the technician's entries stay.
                      if (!GsmReplyPasses(app.session.FrameBuffer) || !GsmReplyWhole(arrived)) {
                        app.form.ShowMessageBox(kRetryMessage, kAttentionCaption);
                        return;
                      }
                      ShowGsm(app.session, app.form);
                    }};
  RunDeviceExchange(app, plan);
}

void Write_GSM_ButtonClick(AppContext& app) {
  CommandScope scope(app.session);
  if (!scope) return;
  if (CheckGsm(app.form) != 1) return;
  ExchangePlan plan{"GSM_write",
                    kGsmWriteFrameLength,
                    kWriteReplyLength,
                    [&app] { FillGsm(app.form, app.session); },
                    true,
                    [&app](std::size_t arrived) { ShowWriteResult(app.session, app.form, arrived); }};
  RunDeviceExchange(app, plan);
}

}  // namespace tacho
