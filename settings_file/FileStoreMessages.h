// The messages of file failures, shared by the platform back ends.
#pragma once

#include <string>
#include <string_view>

namespace tacho {

enum class FileStep { Open, Read, Create, Write };

// "Не удалось открыть файл «name»: reason" and the like for the other steps.
std::u16string FileFailureMessage(FileStep step, std::u16string_view name, std::u16string_view reason);

}  // namespace tacho
