// The date and local-time fields of the calibration record: the parts of a date
// text, the 32-bit time values, and the two local-offset bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "AppError.h"
#include "Form.h"

namespace tacho {

// Kind 1: day, 2: month, 3: year, from an 8-bit date text "DD.MM.YYYY" or
// "YYYY.MM.DD" (separators . , _ -). Any other kind returns 0. A part that is
// not a number throws ConvertError.
std::int32_t DatePart(int kind, std::string_view dateText);

// Kind 2: the next calibration time from a date text: the moment the local clock
// shows 00:00:01 on the day after the date. Kind 1: the first time value, which
// no entry gives: -1 (FF FF FF FF, "not given"). Years and months are read first,
// so an unfilled date fails on its year. Throws DateRangeError for a date that is
// no calendar date or that a 32-bit time value cannot hold.
std::int32_t DateToTime(int kind, std::u16string_view dateText);
std::int32_t DateToTime(int kind, const IForm& form);

// A next calibration date that is no calendar date, or that a 32-bit time value
// cannot hold; the write is refused with this message.
class DateRangeError : public AppError {
 public:
  using AppError::AppError;
};

// "hour": the hours item of sComboBox1 as sign bit + hours; "min": the minutes
// item of sComboBox2. Any other kind returns 0.
std::uint8_t LocalOffsetPart(std::string_view kind, std::u16string_view hoursText,
                             std::u16string_view minutesText);
std::uint8_t LocalOffsetPart(std::string_view kind, const IForm& form);

}  // namespace tacho
