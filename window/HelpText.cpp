#include "HelpText.h"

namespace tacho {
namespace {

std::u16string Spaces(std::size_t n) { return std::u16string(n, u' '); }

}  // namespace

std::u16string HelpText() {
  const std::u16string lines[] = {
      u"\t" + Spaces(20) + u"ПРОГРАММА ЗАПИСИ КАЛИБРОВОЧНЫХ ДАННЫХ" + Spaces(2),
      u"\t" + Spaces(20) + std::u16string(41, u'*'),
      u"\t" + Spaces(37) + u"версия 1.1.2 от 17.10.2013" + Spaces(1),
      u"\t" + Spaces(22) + std::u16string(39, u'*'),
      Spaces(1),
      Spaces(1) + u"Данная программа записывает калибровочные данные в тахограф *ВИРОН RV-38М*" + Spaces(2),
      Spaces(1) + u"в качестве предустановок. При выполнении калибровки их можно будет изменить." + Spaces(1),
      Spaces(1),
      Spaces(1) + u"Для подключения ПК к тахографу *ВИРОН RV-38* необходимо установить драйвер" + Spaces(1),
      Spaces(1) + u"виртуального COM-потра **" + std::u16string(kDriverInstallerName) +
          u"** (если он ещё не установлен)." + Spaces(1),
      Spaces(1),
      Spaces(1) + u"Скачать драйвер можно с сайта" + Spaces(2) + std::u16string(kMakerWebAddress) + Spaces(2) +
          u"из раздела *Техническая поддержка*" + Spaces(1),
      Spaces(2),
      Spaces(20) + u"Для соединения ПК с тахографом необходим кабель USB-AA.",
  };
  std::u16string text = lines[0];
  for (std::size_t i = 1; i < std::size(lines); ++i) text += u'\n' + lines[i];
  return text;
}

}  // namespace tacho
