// Saving all entries of both pages to an 18-line text file and loading them
// back: the two click handlers of the top panel, and under them the file seam
// (a file name in, the lines out) that does not know the window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Form.h"
#include "Session.h"

namespace tacho {

inline constexpr std::u16string_view kFileNotFoundMessage = u"Файл не найден";

// The largest file "Открыть" reads. A real settings file is some hundred bytes;
// even one whose every field holds a long text set by program stays far below.
// A larger file is some other file chosen by mistake (a log, a video, a disk
// image): it is refused after at most this many bytes plus one are read, so the
// window neither waits for it nor fills memory with it.
inline constexpr std::size_t kSettingsFileMaxBytes = 256 * 1024;

// Writes the lines under exactly this name, replacing a file of that name in one
// step; a failure leaves the old file whole and throws FileError.
void WriteSettingsFile(std::u16string_view fileName, const std::vector<std::u16string>& lines);

// The file's lines, decoded; nullopt when no file of that name exists (a folder
// does not count). A file that cannot be read, or that holds more than
// kSettingsFileMaxBytes, throws FileError.
std::optional<std::vector<std::u16string>> ReadSettingsFile(std::u16string_view fileName);

// Decodes file bytes and loads them: the whole file is checked first, and a
// fault throws (see CheckEntries) with no field changed.
void LoadSettingsBytes(IForm& form, std::string_view bytes);

// "Сохранить": reads the entries, proposes sEdit_VRN as the file name, writes
// the chosen name with ".txt" added as needed. Runs even while a command waits,
// since it only reads the fields.
void Save_File_ButtonClick(IForm& form, Session& session);

// "Открыть": asks for a file and loads it; "Файл не найден" for a missing one.
// Refused quietly while a command runs, which may still read the fields.
// Errors escape to the caller, which shows them in the error box (RunHandler).
void Open_File_ButtonClick(IForm& form, Session& session);

}  // namespace tacho
