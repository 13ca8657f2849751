// The text of the help message ("?"), its caption, and the texts that are ours
// to choose: the driver installer's file name, the web address, the maker's notice.
#pragma once

#include <string>
#include <string_view>

#include "WindowDescription.h"

namespace tacho {

inline constexpr std::u16string_view kHelpCaption = u"О программе";
inline constexpr std::u16string_view kDriverInstallerName = u"usb_com_driver_setup.exe";
inline constexpr std::u16string_view kMakerWebAddress = u"www.example.com";

// Fourteen lines separated by a line feed, with no break after the last one.
std::u16string HelpText();

}  // namespace tacho
