#include "StartUp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTranslator>
#include <exception>

#include "AppContext.h"
#include "AppError.h"
#include "Boxes.h"
#include "Handlers.h"
#include "Look.h"
#include "SerialPort.h"
#include "Session.h"
#include "TextCodec.h"
#include "Unit1.h"

namespace tacho {
namespace {

void ShowStartUpError(const QString& text) {
  ShowModalBox(nullptr, QMessageBox::Critical, ProgramTitle(), text);
}

}  // namespace

int RunTool(int& argc, char** argv, const std::function<void(TForm1&)>& shown) {
  // The tool speaks to the user through its window only; Qt's own diagnostics
  // (missing runtime folder, platform notes) are not printed.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication app(argc, argv);
  QTranslator russian;
  InstallRussianTexts(app, russian);
  ApplyLook(app);
  try {
    // Every top-level window of Qt has its own task-bar button; nothing more to ask for.
    Session session;
    SerialPort port(PortMap::ForCurrentUser());
    TForm1 form;
    AppContext context{form, session, port};
    ConnectHandlers(form, context);
    // Closed during a command: the window is gone once that command has ended.
    QObject::connect(&form, &TForm1::closedDuringCommand, &app, &QCoreApplication::quit);
    form.ShowCentred();
    if (shown) shown(form);
    QApplication::exec();
  } catch (const AppError& e) {
    ShowStartUpError(QString::fromStdU16String(e.message()));
  } catch (const std::exception& e) {
    ShowStartUpError(QString::fromStdU16String(FromUtf8(e.what())));
  } catch (...) {
    ShowStartUpError(QString());
  }
  return 0;
}

}  // namespace tacho
