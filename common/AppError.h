// The tool's own error type: an error that ends a handler and that the event
// loop shows in the error box, with the message carried here.
#pragma once

#include <stdexcept>
#include <string>

namespace tacho {

class AppError : public std::runtime_error {
 public:
  explicit AppError(std::u16string message);
  const std::u16string& message() const noexcept { return message_; }

 private:
  std::u16string message_;
};

// A text that the strict string-to-integer conversion refuses.
class ConvertError : public AppError {
 public:
  using AppError::AppError;
};

// A file that cannot be read or written; the message names the file and the reason.
class FileError : public AppError {
 public:
  using AppError::AppError;
};

}  // namespace tacho
