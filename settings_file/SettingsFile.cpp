#include "SettingsFile.h"

#include "FileStore.h"
#include "SettingsFileName.h"
#include "SettingsLines.h"
#include "SettingsText.h"

namespace tacho {

void WriteSettingsFile(std::u16string_view fileName, const std::vector<std::u16string>& lines) {
  ReplaceFileAtomically(fileName, EncodeSettingsFile(lines));
}

std::optional<std::vector<std::u16string>> ReadSettingsFile(std::u16string_view fileName) {
  if (!FileExists(fileName)) return std::nullopt;
  return DecodeSettingsText(ReadWholeFile(fileName, kSettingsFileMaxBytes));
}

void LoadSettingsBytes(IForm& form, std::string_view bytes) { LoadEntries(form, DecodeSettingsText(bytes)); }

void Save_File_ButtonClick(IForm& form, Session& /*session*/) {
  // The file holds the fields as they were when the button was pressed.
  const std::vector<std::u16string> lines = ReadEntries(form);
  const std::optional<std::u16string> chosen = form.ChooseSaveFile(form.ReadText(ControlId::sEdit_VRN));
  if (!chosen) return;
  WriteSettingsFile(WithTxtExtension(*chosen), lines);
}

void Open_File_ButtonClick(IForm& form, Session& session) {
  const CommandScope scope(session);
  if (!scope) return;
  const std::optional<std::u16string> chosen = form.ChooseOpenFile();
  if (!chosen) return;
  const std::optional<std::vector<std::u16string>> lines = ReadSettingsFile(*chosen);
  if (!lines) {
    form.ShowPlainMessage(kFileNotFoundMessage);
    return;
  }
  LoadEntries(form, *lines);
}

}  // namespace tacho
