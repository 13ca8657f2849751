// The guard a running command or search holds: it owns the window meanwhile.
// Every control described as locked while busy is disabled until the command
// ends, however it ends (a box, an error, the window closed); the entry fields
// stay editable. The busy cursor shows while the port works.
#pragma once

#include <array>

#include "Form.h"
#include "Session.h"

namespace tacho {

class CommandLock {
 public:
  // Refuses quietly when another command runs (a click that got through during
  // a wait): `if (!lock) return;`. Otherwise marks the session's command as
  // running and disables the locked controls.
  CommandLock(IForm& form, Session& session);
  // Gives back each locked control's enabled state as it was, and the normal cursor.
  ~CommandLock();
  CommandLock(const CommandLock&) = delete;
  CommandLock& operator=(const CommandLock&) = delete;
  explicit operator bool() const { return owns_; }

  // The busy cursor while the port works; the normal one before a box.
  void BusyCursor();
  void NormalCursor();

 private:
  IForm& form_;
  CommandScope scope_;
  bool owns_;
  bool busy_ = false;
  std::array<bool, kControlCount> wasEnabled_{};
};

}  // namespace tacho
