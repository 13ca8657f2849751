// The application title that the plain message and the error box show: the
// program file's name without its folder, cut before its first dot, with every
// letter after the first in lower case. Toolkit-free; each front end passes the
// path of its own program file.
#pragma once

#include <string>
#include <string_view>

namespace tacho {

// Either separator, "/" or "\", ends a folder.
std::u16string ApplicationTitle(std::u16string_view programFilePath);

}  // namespace tacho
