#include "SettingsLines.h"

#include "AppError.h"
#include "IntText.h"

namespace tacho {

std::vector<std::u16string> ReadEntries(const IForm& form) {
  std::vector<std::u16string> lines;
  lines.reserve(kSettingsLines.size());
  for (const SettingsLine& line : kSettingsLines) {
    switch (line.content) {
      case LineContent::Text:
        lines.push_back(form.ReadText(line.control));
        break;
      case LineContent::Index:
        lines.push_back(IntToStr(form.SelectedIndex(line.control)));
        break;
      case LineContent::ItemText:
        lines.push_back(form.ItemText(line.control, form.SelectedIndex(line.control)));
        break;
    }
  }
  return lines;
}

CheckedEntries CheckEntries(const std::vector<std::u16string>& lines) {
  CheckedEntries checked;
  for (std::size_t i = 0; i < kSettingsLines.size(); ++i) {
    if (i >= lines.size()) {
      throw AppError(u"List index out of bounds (" + IntToStr(static_cast<std::int64_t>(i)) + u")");
    }
    checked.lines[i] = lines[i];
    if (kSettingsLines[i].content == LineContent::Index) checked.indexes[i] = StrToInt(lines[i]);
  }
  return checked;
}

void ApplyEntries(IForm& form, const CheckedEntries& entries) {
  for (std::size_t i = 0; i < kSettingsLines.size(); ++i) {
    const ControlId control = kSettingsLines[i].control;
    const std::u16string& text = entries.lines[i];
    switch (kSettingsLines[i].content) {
      case LineContent::Text:
        form.SetText(control, text);
        break;
      case LineContent::Index:
        form.SelectIndex(control, entries.indexes[i]);
        break;
      case LineContent::ItemText:
        form.SelectIndex(control, form.FindItem(control, text));
        break;
    }
  }
}

void LoadEntries(IForm& form, const std::vector<std::u16string>& lines) {
  ApplyEntries(form, CheckEntries(lines));
}

}  // namespace tacho
