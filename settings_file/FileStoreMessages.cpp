#include "FileStoreMessages.h"

#include "IntText.h"

namespace tacho {

std::u16string FileFailureMessage(FileStep step, std::u16string_view name, std::u16string_view reason) {
  std::u16string_view verb;
  switch (step) {
    case FileStep::Open:
      verb = u"открыть";
      break;
    case FileStep::Read:
      verb = u"прочитать";
      break;
    case FileStep::Create:
      verb = u"создать";
      break;
    case FileStep::Write:
      verb = u"записать";
      break;
  }
  std::u16string message = u"Не удалось ";
  message += verb;
  message += u" файл «";
  message += name;
  message += u"»: ";
  message += reason;
  return message;
}

std::u16string FileTooLargeMessage(std::u16string_view name, std::size_t maxBytes) {
  const std::u16string size = maxBytes % 1024 == 0 ? IntToStr(static_cast<std::int64_t>(maxBytes / 1024)) + u" КБ"
                                                     : IntToStr(static_cast<std::int64_t>(maxBytes)) + u" байт";
  return FileFailureMessage(FileStep::Read, name, u"файл больше " + size + u", это не файл настроек");
}

}  // namespace tacho
