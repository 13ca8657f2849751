#include "AppError.h"

#include "TextCodec.h"

namespace tacho {

AppError::AppError(std::u16string message)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}

}  // namespace tacho
