#include "Handlers.h"

#include <QAbstractButton>
#include <QComboBox>

#include "CalibrationWrite.h"
#include "DeviceSearch.h"
#include "GsmCommands.h"
#include "GsmPresets.h"
#include "HandlerRunner.h"
#include "SettingsFile.h"
#include "Unit1.h"

namespace tacho {

void ConnectHandlers(TForm1& form, AppContext& app) {
  auto onClick = [&form](ControlId id, std::function<void()> handler) {
    QObject::connect(form.Button(id), &QAbstractButton::clicked, &form,
                     [&form, handler = std::move(handler)] { RunHandler(form, handler); });
  };
  // `activated`, not `currentIndexChanged`: selecting by program runs no handler.
  auto onPick = [&form](ControlId id, std::function<void()> handler) {
    QObject::connect(form.List(id), &QComboBox::activated, &form,
                     [&form, handler = std::move(handler)] { RunHandler(form, handler); });
  };

  onClick(ControlId::Open_File_Button, [&app] { Open_File_ButtonClick(app.form, app.session); });
  onClick(ControlId::Save_File_Button, [&app] { Save_File_ButtonClick(app.form, app.session); });
  onClick(ControlId::Search_Button, [&app] { Search_ButtonClick(app); });
  onPick(ControlId::sComboBox_port, [&app] { sComboBox_portChange(app); });

  onClick(ControlId::Write_Kalibr_Button, [&app] { Write_Kalibr_ButtonClick(app); });

  onClick(ControlId::Read_GSM_Button, [&app] { Read_GSM_ButtonClick(app); });
  onClick(ControlId::Write_GSM_Button, [&app] { Write_GSM_ButtonClick(app); });
  onClick(ControlId::Default_Button, [&app] { Default_ButtonClick(app.form); });
  onPick(ControlId::sComboBox3, [&app] { sComboBox3Change(app.form); });
}

}  // namespace tacho
