#include "StartUp.h"

#include <exception>
#include <string>

#include "AppContext.h"
#include "AppError.h"
#include "AppTitle.h"
#include "SerialPort.h"
#include "Session.h"
#include "ShellHandlers.h"
#include "TextCodec.h"
#include "Unit1.h"
#include "Win32Text.h"

namespace tacho {
namespace {

// The error box without the window, which may not exist yet.
void ShowStartUpError(std::u16string_view text) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  MessageBoxW(nullptr, W(text).c_str(), W(ApplicationTitle(U(path))).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

int RunTool(const std::function<void(TForm1&)>& shown) {
  try {
    Session session;
    SerialPort port(PortMap::ForCurrentUser());
    TForm1 form;
    AppContext context{form, session, port};
    form.SetHandlerRunner([&context](Handler handler) { RunNamedHandler(handler, context); });
    form.ShowCentred();
    if (shown) shown(form);
    form.RunEventLoop();
  } catch (const AppError& e) {
    ShowStartUpError(e.message());
  } catch (const std::exception& e) {
    ShowStartUpError(FromUtf8(e.what()));
  } catch (...) {
    ShowStartUpError(u"");
  }
  return 0;
}

}  // namespace tacho
