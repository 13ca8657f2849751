// Helpers of the settings-file tests: a scratch folder, file bytes, the state of
// every control a settings file holds, and a window with a fixed start date.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FormModel.h"
#include "HandlerRunner.h"
#include "SettingsFile.h"
#include "SettingsLines.h"
#include "TextCodec.h"

namespace tacho::test {

// 15.03.2026 in the date field.
inline constexpr CivilDate kToday{2024, 3, 15};

class TempDir {
 public:
  TempDir() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() / ("settings-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A path inside the folder as a wide file name.
  std::u16string Name(std::u16string_view relative) const { return (path_ / relative).u16string(); }
  // The names in the folder, sorted.
  std::vector<std::u16string> Entries() const {
    std::vector<std::u16string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().u16string());
    }
    std::sort(names.begin(), names.end());
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

// The bytes a save right after start writes.
inline const std::string kStartUpFile =
    "\r\n\r\n43\r\n\r\n\r\n\r\n\r\n\r\n15.03.2026\r\n+0\r\n00\r\n-1\r\n\r\n\r\n\r\n\r\n\r\n\xD0\xD4\r\n";

// A click on "Сохранить" or "Открыть" with the dialog answered, run as the event loop runs it.
inline void Save(FormModel& form, std::optional<std::u16string> answer) {
  Session session;
  form.saveAnswers.push_back(std::move(answer));
  RunHandler(form, [&] { Save_File_ButtonClick(form, session); });
}

inline void Open(FormModel& form, std::optional<std::u16string> answer) {
  Session session;
  form.openAnswers.push_back(std::move(answer));
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });
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
