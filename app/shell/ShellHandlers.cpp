#include "ShellHandlers.h"

#include "CalibrationWrite.h"
#include "PortChoice.h"
#include "GsmCommands.h"
#include "GsmPresets.h"
#include "HandlerRunner.h"
#include "HelpText.h"
#include "SettingsFile.h"

namespace tacho {

void sPageControl1Change(IForm& form) {
  const int page = form.ActivePage();
  if (page < 0 || page >= static_cast<int>(kCommandButtonsByPage.size())) return;
  for (const PageButtonState& state : kCommandButtonsByPage[static_cast<std::size_t>(page)]) {
    form.SetButtonVisible(state.button, state.visible);
  }
}

void Help_ButtonClick(IForm& form) { form.ShowMessageBox(HelpText(), kHelpCaption); }

namespace {

void Dispatch(Handler handler, AppContext& app) {
  switch (handler) {
    case Handler::None:
      return;
    case Handler::Open_File_ButtonClick:
      return Open_File_ButtonClick(app.form, app.session);
    case Handler::Save_File_ButtonClick:
      return Save_File_ButtonClick(app.form, app.session);
    case Handler::sComboBox_portChange:
      return sComboBox_portChange(app);
    case Handler::Search_ButtonClick:
      return Search_ButtonClick(app);
    case Handler::sPageControl1Change:
      return sPageControl1Change(app.form);
    case Handler::Write_Kalibr_ButtonClick:
      return Write_Kalibr_ButtonClick(app);
    case Handler::Help_ButtonClick:
      return Help_ButtonClick(app.form);
    case Handler::Read_GSM_ButtonClick:
      return Read_GSM_ButtonClick(app);
    case Handler::Write_GSM_ButtonClick:
      return Write_GSM_ButtonClick(app);
    case Handler::Default_ButtonClick:
      return Default_ButtonClick(app.form);
    case Handler::sComboBox3Change:
      return sComboBox3Change(app.form);
  }
}

}  // namespace

void RunNamedHandler(Handler handler, AppContext& app) {
  RunHandler(app.form, [handler, &app] { Dispatch(handler, app); });
}

}  // namespace tacho
