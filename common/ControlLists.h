// Start-up indexes of the lists, read from the window description.
#pragma once

#include "WindowDescription.h"

namespace tacho {

inline constexpr int kCountryDefaultIndex = Describe(ControlId::sComboBox_country).defaultIndex;
inline constexpr int kHoursDefaultIndex = Describe(ControlId::sComboBox1).defaultIndex;
inline constexpr int kMinutesDefaultIndex = Describe(ControlId::sComboBox2).defaultIndex;

}  // namespace tacho
