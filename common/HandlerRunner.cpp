#include "HandlerRunner.h"

#include <exception>

#include "AppError.h"
#include "TextCodec.h"

namespace tacho {

void RunHandler(IForm& form, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const WindowClosed&) {
    // The user closed the window during a command: nothing more is shown.
  } catch (const AppError& e) {
    form.ShowErrorBox(e.message());
  } catch (const std::exception& e) {
    form.ShowErrorBox(FromUtf8(e.what()));
  } catch (...) {
    form.ShowErrorBox(u"");
  }
}

}  // namespace tacho
