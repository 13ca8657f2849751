// The text of the help message ("?"), its caption, and the two texts in it that
// are ours to choose: the driver installer's file name and the web address.
#pragma once

#include <string>
#include <string_view>


namespace tacho {

inline constexpr std::u16string_view kHelpCaption = u"О программе";
inline constexpr std::u16string_view kDriverInstallerName = u"usb_com_driver_setup.exe";
inline constexpr std::u16string_view kMakerWebAddress = u"www.example.com";

// Fourteen lines separated by a line feed, with no break after the last one.
std::u16string HelpText();

}  // namespace tacho
