// The messages of file failures, shared by the platform back ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tacho {

enum class FileStep { Open, Read, Create, Write };

// "Не удалось открыть файл «name»: reason" and the like for the other steps.
std::u16string FileFailureMessage(FileStep step, std::u16string_view name, std::u16string_view reason);

// The message for a file larger than maxBytes: "Не удалось прочитать файл «name»:
// файл больше 256 КБ, это не файл настроек" for a bound of 256 KiB.
std::u16string FileTooLargeMessage(std::u16string_view name, std::size_t maxBytes);

}  // namespace tacho
