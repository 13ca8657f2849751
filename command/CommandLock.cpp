#include "CommandLock.h"

namespace tacho {

CommandLock::CommandLock(IForm& form, Session& session)
    : form_(form), scope_(session), owns_(static_cast<bool>(scope_)) {
  if (!owns_) return;
  for (const ControlDesc& control : kControls) {
    if (!control.lockedWhileBusy) continue;
    wasEnabled_[static_cast<std::size_t>(control.id)] = form_.IsEnabled(control.id);
    form_.SetEnabled(control.id, false);
  }
}

CommandLock::~CommandLock() {
  if (!owns_) return;
  NormalCursor();
  for (const ControlDesc& control : kControls) {
    if (control.lockedWhileBusy) form_.SetEnabled(control.id, wasEnabled_[static_cast<std::size_t>(control.id)]);
  }
}

void CommandLock::BusyCursor() {
  if (busy_) return;
  form_.SetScreenCursor(ScreenCursor::Busy);
  busy_ = true;
}

void CommandLock::NormalCursor() {
  if (!busy_) return;
  form_.SetScreenCursor(ScreenCursor::Normal);
  busy_ = false;
}

}  // namespace tacho
