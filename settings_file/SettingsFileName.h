// The name a settings file is saved under: the chosen name, with ".txt" added
// unless its extension is exactly ".txt".
#pragma once

#include <string>
#include <string_view>

namespace tacho {

// The extension runs from the last dot to the end, unless a backslash or colon
// follows that dot. Case counts: "a.TXT" becomes "a.TXT.txt", "a." becomes "a..txt".
std::u16string WithTxtExtension(std::u16string_view chosenName);

}  // namespace tacho
