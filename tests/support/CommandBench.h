// The link tests' bench with the context a command handler works on.
#pragma once

#include <vector>

#include "AppContext.h"
#include "LinkFixture.h"
#include "WindowDescription.h"

namespace tacho::test {

struct CommandBench : LinkBench {
  AppContext app{form, session, port};
};

// The controls a running command owns: every one described as locked while busy.
inline std::vector<ControlId> LockedControls() {
  std::vector<ControlId> ids;
  for (const ControlDesc& c : kControls) {
    if (c.lockedWhileBusy) ids.push_back(c.id);
  }
  return ids;
}

// Those of `ids` that are enabled now.
inline std::vector<ControlId> Enabled(const FormModel& form, const std::vector<ControlId>& ids) {
  std::vector<ControlId> enabled;
  for (ControlId id : ids) {
    if (form.IsEnabled(id)) enabled.push_back(id);
  }
  return enabled;
}

}  // namespace tacho::test
