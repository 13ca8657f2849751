#include "DeviceSearch.h"

#include <algorithm>
#include <array>

#include "WindowDescription.h"
#include "Frames.h"
#include "IntText.h"
#include "PortSettings.h"

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

// The busy cursor and the port are given back however the search ends.
struct SearchCleanup {
  IForm& form;
  SerialPort& port;
  bool busy = true;
  void NormalCursor() {
    if (busy) form.SetScreenCursor(ScreenCursor::Normal);
    busy = false;
  }
  ~SearchCleanup() {
    port.Close();
    NormalCursor();
  }
};

void StartSearch(AppContext& app) {
  app.form.ClearItems(kList);
  app.form.SetText(kList, kSearching);
  FindDevice(app);
}

}  // namespace

std::u16string ItemText(const IForm& form, ControlId list, int index) {
  if (index < 0 || index >= form.ItemCount(list)) return {};
  return form.ItemText(list, index);
}

void FindDevice(AppContext& app) {
  IForm& form = app.form;
  SerialPort& port = app.port;
  form.ClearItems(kList);
  form.SetText(kList, u"");
  form.SetScreenCursor(ScreenCursor::Busy);
  form.SetText(kList, kSearching);

  // The port list is made anew: adapters plugged in since get their numbers.
  port.RefreshPortMap();
  bool found = false;
  {
    SearchCleanup cleanup{form, port};
    std::array<std::uint8_t, kProbeReplyLength> probe{};
    for (int i = 0; i < kPortCount && !found; ++i) {
      port.OpenPort(i);
      if (!port.IsOpen()) continue;
      port.Close();
      port.SetupPort(i, form);
      // The whole buffer is cleared: the seventh byte written is 0x00, never
      // what an earlier port answered.
      probe.fill(0);
      std::copy(kProbeFrame.begin(), kProbeFrame.end(), probe.begin());
      port.Write(probe.data(), kProbeWriteLength);
      probe.fill(0);
      form.ResponsiveDelay(kProbeWaitMs);
      port.Read(probe.data(), probe.size());
      port.Close();
      if (probe[0] == kFrameStart && probe[1] == kFrameMarker) {
        form.AddItem(kList, PortItem(i));
        cleanup.NormalCursor();
        form.ShowMessageBox(kFound, kAttentionCaption);
        form.SelectIndex(kList, form.ItemCount(kList) - 1);
        found = true;
      }
    }
  }
  if (!found) {
    form.ShowMessageBox(kNotFound, kAttentionCaption);
    form.SelectIndex(kList, -1);
    form.SetText(kList, kNothingShown);
  }
  form.AddItem(kList, kPortSearchItem);
  SetPortIndexFromItem(app.session, ItemText(form, kList, form.SelectedIndex(kList)));
}

void Search_ButtonClick(AppContext& app) {
  CommandScope scope(app.session);
  if (!scope) return;
  StartSearch(app);
}

void sComboBox_portChange(AppContext& app) {
  CommandScope scope(app.session);
  if (!scope) return;
  if (app.form.ReadText(kList) == kPortSearchItem) StartSearch(app);
  SetPortIndexFromItem(app.session, ItemText(app.form, kList, app.form.SelectedIndex(kList)));
}

}  // namespace tacho
