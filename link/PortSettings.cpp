#include "PortSettings.h"

namespace tacho {

std::u16string PortName(int index) {
  if (index < 0 || index > 41) return {};
  std::u16string number;
  for (int n = index + 1; n > 0; n /= 10) number.insert(number.begin(), static_cast<char16_t>(u'0' + n % 10));
  return (index < 9 ? u"COM" : u"\\\\.\\COM") + number;
}

std::u16string ModeText() {
  return std::u16string(u"baud =") + u"9600" + u" parity=2 data=8 stop=1";
}

}  // namespace tacho
