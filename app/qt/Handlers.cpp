#include "Handlers.h"

#include <QAbstractButton>
#include <QComboBox>

#include "ShellHandlers.h"
#include "Unit1.h"

namespace tacho {

void ConnectHandlers(TForm1& form, AppContext& app) {
  for (const ControlDesc& control : kControls) {
    const Handler handler = control.handler;
    // The window connects its own page switch and help button.
    if (handler == Handler::None || handler == Handler::sPageControl1Change || handler == Handler::Help_ButtonClick) {
      continue;
    }
    if (control.kind == ControlKind::DropDownList) {
      // `activated`, not `currentIndexChanged`: selecting by program runs no handler.
      QObject::connect(form.List(control.id), &QComboBox::activated, &form,
                       [handler, &app] { RunNamedHandler(handler, app); });
    } else {
      QObject::connect(form.Button(control.id), &QAbstractButton::clicked, &form,
                       [handler, &app] { RunNamedHandler(handler, app); });
    }
  }
}

}  // namespace tacho
