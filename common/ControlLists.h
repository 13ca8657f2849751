// Captions, list items and start-up defaults of the window's controls, shared by
// the Qt window and the in-memory model so that both hold the same lists.
#pragma once

#include <array>
#include <string_view>

namespace tacho {

inline constexpr std::u16string_view kWindowCaption = u"Программа записи калибровочных данных";
inline constexpr std::u16string_view kPortSearchItem = u"Найти устр-во";
inline constexpr std::u16string_view kWorkshopDefault = u"РФ";

inline constexpr int kCountryDefaultIndex = 43;  // "RUS   Росс.федерац."
inline constexpr int kHoursDefaultIndex = 23;    // "+0"
inline constexpr int kMinutesDefaultIndex = 0;   // "00"

extern const std::array<std::u16string_view, 56> kCountryItems;
extern const std::array<std::u16string_view, 47> kHoursItems;
extern const std::array<std::u16string_view, 60> kMinutesItems;
extern const std::array<std::u16string_view, 5> kOperatorItems;

}  // namespace tacho
