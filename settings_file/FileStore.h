// Whole-file reading and atomic replacing of a file, by wide file name, over the
// operating system's own calls (POSIX or Win32). Failures throw FileError with a
// Russian message that names the file and gives the system's reason.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tacho {

// True for an existing file of any kind but a folder.
bool FileExists(std::u16string_view name);

// The file's bytes when it holds at most maxBytes of them. Refuses anything but
// a regular file (a pipe or a device could block the window for ever), and a
// file with more bytes, after reading no more than maxBytes + 1 of them: the
// size the system reports is not trusted, since a file may grow while read.
std::string ReadWholeFile(std::u16string_view name, std::size_t maxBytes);

// Writes the bytes into a new file beside the target, forces them to the disk,
// then puts that file in the target's place in one step. On any failure the
// new file is removed and the old target stays as it was.
void ReplaceFileAtomically(std::u16string_view name, std::string_view bytes);

}  // namespace tacho
