#include "DateFields.h"

#include <climits>
#include <ctime>

#include "CivilDate.h"
#include "IntText.h"
#include "TextCodec.h"

namespace tacho {
namespace {

constexpr std::u16string_view kDateRangeMessage =
    u"Некорректно введена дата следующей калибровки!\n"
    u"Дата должна существовать в календаре и лежать в пределах от 01.01.1970 до 18.01.2038.";

// Characters [start, start + length) of text, 1-based, shorter when the text ends sooner.
std::string_view Piece(std::string_view text, std::size_t start, std::size_t length) {
  if (start > text.size()) return {};
  return text.substr(start - 1, length);
}

}  // namespace

std::int32_t DatePart(int kind, std::string_view dateText) {
  if (kind < 1 || kind > 3) return 0;
  const std::size_t found = dateText.find_first_of(".,_-");
  const std::size_t p = found == std::string_view::npos ? 0 : found + 1;

  std::size_t dayAt = 1, monthAt = 1, yearAt = 1;
  if (p == 3) {
    dayAt = 1, monthAt = 4, yearAt = 7;
  } else if (p == 5) {
    dayAt = 9, monthAt = 6, yearAt = 1;
  }
  switch (kind) {
    case 1:
      return StrToInt(Piece(dateText, dayAt, 2));
    case 2:
      return StrToInt(Piece(dateText, monthAt, 2));
    default:
      return StrToInt(Piece(dateText, yearAt, 4));
  }
}

std::int32_t DateToTime(int kind, std::u16string_view dateText) {
  // No entry gives the first time value: the record's "not given".
  if (kind != 2) return -1;

  const std::string ansi = ToAnsi(dateText);
  const std::int32_t year = DatePart(3, ansi);
  const std::int32_t month = DatePart(2, ansi);
  const std::int32_t day = DatePart(1, ansi);
  // A date mktime would shift into another month, or one outside the 32-bit
  // range, would put a wrong date into the device.
  if (year < 1970 || year > 2038 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    throw DateRangeError(std::u16string(kDateRangeMessage));
  }

  std::tm broken{};
  broken.tm_sec = 1;
  broken.tm_min = 0;
  broken.tm_hour = 0;
  broken.tm_mday = day + 1;
  broken.tm_mon = month - 1;
  broken.tm_year = year - 1900;
  broken.tm_wday = -1;
  broken.tm_yday = -1;
  broken.tm_isdst = -1;
  const std::time_t t = std::mktime(&broken);
  if (t < 0 || static_cast<long long>(t) > INT32_MAX) throw DateRangeError(std::u16string(kDateRangeMessage));
  return static_cast<std::int32_t>(t);
}

std::int32_t DateToTime(int kind, const IForm& form) {
  return DateToTime(kind, kind == 2 ? form.ReadText(ControlId::sDateEdit2) : std::u16string());
}

std::uint8_t LocalOffsetPart(std::string_view kind, std::u16string_view hoursText,
                             std::u16string_view minutesText) {
  if (kind == "hour") {
    if (hoursText.empty()) return 0;
    const std::u16string_view hours = hoursText.substr(1, 2);
    if (hoursText[0] == u'-') return static_cast<std::uint8_t>((StrToInt(hours) & 0xFF) | 0x80);
    if (hoursText[0] == u'+') return static_cast<std::uint8_t>(StrToInt(hours) & 0xFF);
    return 0;
  }
  if (kind == "min") return static_cast<std::uint8_t>(StrToInt(minutesText) & 0xFF);
  return 0;
}

std::uint8_t LocalOffsetPart(std::string_view kind, const IForm& form) {
  if (kind == "hour") return LocalOffsetPart(kind, form.ReadText(ControlId::sComboBox1), {});
  if (kind == "min") return LocalOffsetPart(kind, {}, form.ReadText(ControlId::sComboBox2));
  return 0;
}

}  // namespace tacho
