#include "PortChoice.h"

#include "CommandExchange.h"
#include "DeviceSearch.h"
#include "IntText.h"
#include "RecordTextField.h"

namespace tacho {
namespace {

constexpr ControlId kList = ControlId::sComboBox_port;
constexpr std::u16string_view kSearching = u"Поиск......";
constexpr std::u16string_view kFound = u"Устройство обнаружено";
constexpr std::u16string_view kNotFound = u"Устройство не найдено";
constexpr std::u16string_view kNothingShown = u"       ";  // seven blanks

std::u16string PortItem(int index) { return u"COM " + IntToStr(index + 1); }

// "COM 7" (5 characters) or "COM 12" (6) gives PortIndex 6 or 11; any other
// length (the search item, no selection) leaves it.
void SetPortIndexFromItem(Session& session, const std::u16string& text) {
  if (text.size() == 5 || text.size() == 6) {
    session.PortIndex = StrToInt(std::u16string_view(text).substr(4)) - 1;
  }
}

void SetPortIndexFromSelection(AppContext& app) {
  SetPortIndexFromItem(app.session, ItemText(app.form, kList, app.form.SelectedIndex(kList)));
}

void Search(AppContext& app) {
  CommandLock lock(app.form, app.session);
  if (!lock) return;
  app.form.ClearItems(kList);
  app.form.SetText(kList, kSearching);
  FindDevice(app, lock);
}

}  // namespace

std::u16string ItemText(const IForm& form, ControlId list, int index) {
  if (index < 0 || index >= form.ItemCount(list)) return {};
  return form.ItemText(list, index);
}

void FindDevice(AppContext& app, CommandLock& lock) {
  IForm& form = app.form;
  form.ClearItems(kList);
  form.SetText(kList, u"");
  lock.BusyCursor();
  form.SetText(kList, kSearching);

  // The port list is made anew: adapters plugged in since get their numbers.
  app.port.RefreshPortMap();
  bool found = false;
  for (int i = 0; i < kPortCount && !found; ++i) {
    switch (ProbePort(app.port, i, form)) {
      case ProbeOutcome::NotOpened:
      case ProbeOutcome::Silent:
        break;
      case ProbeOutcome::ReopenFailed:
        lock.NormalCursor();
        form.ShowMessageBox(kPortOpenErrorText, kAttentionCaption);
        lock.BusyCursor();
        break;
      case ProbeOutcome::Answered:
        form.AddItem(kList, PortItem(i));
        lock.NormalCursor();
        form.ShowMessageBox(kFound, kAttentionCaption);
        form.SelectIndex(kList, form.ItemCount(kList) - 1);
        found = true;
        break;
    }
  }
  if (!found) {
    lock.NormalCursor();
    form.ShowMessageBox(kNotFound, kAttentionCaption);
    form.SelectIndex(kList, -1);
    form.SetText(kList, kNothingShown);
  }
  form.AddItem(kList, kPortSearchItem);
  SetPortIndexFromSelection(app);
}

void Search_ButtonClick(AppContext& app) { Search(app); }

void sComboBox_portChange(AppContext& app) {
  if (app.session.commandRunning) return;
  if (app.form.ReadText(kList) == kPortSearchItem) Search(app);
  SetPortIndexFromSelection(app);
}

}  // namespace tacho
