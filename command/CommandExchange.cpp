#include "CommandExchange.h"

#include <utility>

#include "RecordTextField.h"

namespace tacho {

void RunCommandExchange(AppContext& app, CommandLock& lock, ExchangePlan plan) {
  plan.portNotOpened = [&app, &lock, then = std::move(plan.portNotOpened)] {
    lock.NormalCursor();
    app.form.ShowMessageBox(kPortOpenErrorText, kAttentionCaption);
    lock.BusyCursor();
    if (then) then();
  };
  plan.judge = [&lock, then = std::move(plan.judge)](std::size_t arrived) {
    lock.NormalCursor();
    if (then) then(arrived);
  };
  lock.BusyCursor();
  RunDeviceExchange(app.form, app.session, app.port, plan);
}

void ShowWriteResult(const Session& session, IForm& form, std::size_t arrived) {
  form.ShowMessageBox(WriteAcknowledged(session, arrived) ? u"Данные успешно записаны" : kRetryMessage,
                      kAttentionCaption);
}

}  // namespace tacho
