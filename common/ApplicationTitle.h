// The application title that the plain message and the error box show, formed
// from the program file's path: the name without its folder, cut before its
// first dot, every letter after the first in lower case. Toolkit-free.
#pragma once

#include <string>
#include <string_view>

namespace tacho {

// "\" and "/" both end a folder.
std::u16string ApplicationTitleFromPath(std::u16string_view programFilePath);

// Lower case of the letters a program file's name can hold here: Latin, Latin-1
// and Cyrillic; any other character is kept.
char16_t LowerLetter(char16_t c);

}  // namespace tacho
