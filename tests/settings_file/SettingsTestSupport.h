// Helpers of the settings-file tests: a scratch folder, file bytes, the state of
// every control a settings file holds, and a window with a fixed start date.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "FormModel.h"
#include "SettingsLines.h"
#include "TextCodec.h"

namespace tacho::test {

// 15.03.2026 in the date field.
inline constexpr CivilDate kToday{2024, 3, 15};

class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/settings-test-XXXXXX";
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A path inside the folder as a wide file name.
  std::u16string Name(const std::string& relative) const { return FromUtf8((path_ / relative).string()); }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Text and selected index of every control a settings file holds.
using FormState = std::vector<std::pair<std::u16string, int>>;

inline FormState StateOf(const IForm& form) {
  FormState state;
  for (const SettingsLine& line : kSettingsLines) {
    state.emplace_back(form.ReadText(line.control), form.SelectedIndex(line.control));
  }
  return state;
}

}  // namespace tacho::test
