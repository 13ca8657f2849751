#include "CalibrationWrite.h"

#include "CalibrationCheck.h"
#include "CalibrationRecord.h"
#include "DateFields.h"
#include "Exchange.h"
#include "Frames.h"
#include "RecordTextField.h"

namespace tacho {

void Write_Kalibr_ButtonClick(AppContext& app) {
  CommandScope scope(app.session);
  if (!scope) return;
  if (CheckCalibration(app.form) != 0) return;
  // The record is assembled before any port is opened, so a refused entry sends nothing.
  try {
    FillCalibration(app.form, app.session.PayloadArea);
  } catch (const DateRangeError& e) {
    app.form.ShowMessageBox(e.message(), kAttentionCaption);
    return;
  }
  RunDeviceExchange(app, ExchangePlan{"write", kWriteFrameLength, kWriteReplyLength, {}, false,
                                      [&app](std::size_t arrived) { ShowWriteResult(app.session, app.form, arrived); }});
}

}  // namespace tacho
