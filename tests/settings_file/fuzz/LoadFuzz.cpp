// libFuzzer target: any bytes as a settings file, loaded through the "Открыть"
// handler from a real file. The outcome must be a whole load or one of the
// load's error boxes with no field changed; anything else aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppError.h"
#include "FormModel.h"
#include "HandlerRunner.h"
#include "IntText.h"
#include "SettingsFile.h"
#include "SettingsLines.h"
#include "SettingsText.h"
#include "TextCodec.h"

namespace {

using namespace tacho;

// One scratch folder for the whole run, removed when the fuzzer exits.
class ScratchFile {
 public:
  ScratchFile() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/settings-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    path_ = folder_ + "/s.txt";
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  // A fresh file each time: rewriting a truncated one makes ext4 flush it on close.
  void Write(const std::uint8_t* data, std::size_t size) const {
    std::remove(path_.c_str());
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    if (std::fclose(f) != 0) std::abort();
  }
  std::u16string Name() const { return FromUtf8(path_); }

 private:
  std::string folder_;
  std::string path_;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Snapshot {
  std::vector<std::u16string> texts;
  std::vector<int> selected;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot Take(const IForm& form) {
  Snapshot s;
  for (const SettingsLine& line : kSettingsLines) {
    s.texts.push_back(form.ReadText(line.control));
    s.selected.push_back(form.SelectedIndex(line.control));
  }
  return s;
}

bool IsLoadError(const std::u16string& text) {
  for (int i = 0; i < kSettingsLineCount; ++i) {
    if (text == u"List index out of bounds (" + IntToStr(i) + u")") return true;
  }
  const std::u16string_view tail = u"' is not a valid integer value";
  return text.size() >= tail.size() + 1 && text.front() == u'\'' && text.ends_with(tail);
}

// Every line went where the table says.
void RequireApplied(const IForm& form, const std::vector<std::u16string>& lines) {
  Require(lines.size() >= kSettingsLines.size());
  for (std::size_t i = 0; i < kSettingsLines.size(); ++i) {
    const ControlId control = kSettingsLines[i].control;
    switch (kSettingsLines[i].content) {
      case LineContent::Text:
        Require(form.ReadText(control) == lines[i]);
        break;
      case LineContent::Index: {
        const int index = StrToInt(lines[i]);
        const bool inList = index >= 0 && index < form.ItemCount(control);
        Require(form.SelectedIndex(control) == (inList ? index : -1));
        break;
      }
      case LineContent::ItemText:
        Require(form.SelectedIndex(control) == form.FindItem(control, lines[i]));
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile file;
  file.Write(data, size);

  FormModel form(CivilDate{2024, 3, 15});
  form.SetText(ControlId::sEdit_VIN, u"before the load");
  const Snapshot before = Take(form);
  Session session;
  form.openAnswers.push_back(file.Name());
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });

  Require(form.boxes.size() <= 1);
  Require(!session.commandRunning);
  if (form.boxes.empty()) {
    RequireApplied(form, DecodeSettingsText(std::string_view(reinterpret_cast<const char*>(data), size)));
  } else {
    Require(form.boxes[0].kind == FormModel::BoxKind::Error);
    Require(IsLoadError(form.boxes[0].text));
    Require(Take(form) == before);
  }
  return 0;
}
