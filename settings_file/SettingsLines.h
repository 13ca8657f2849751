// The 18 lines of a settings file: which control each line holds and how, the
// reading of the lines from the window, and their checked, all-or-nothing
// application back to it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Form.h"

namespace tacho {

inline constexpr int kSettingsLineCount = 18;

// How a line stands for its control.
enum class LineContent {
  Text,      // the control's text, unchanged
  Index,     // the selected item's 0-based index as decimal, -1 for none
  ItemText,  // the selected item's text, empty for none
};

struct SettingsLine {
  ControlId control;
  LineContent content;
};

// Line 1 first.
inline constexpr std::array<SettingsLine, kSettingsLineCount> kSettingsLines = {{
    {ControlId::sEdit_VIN, LineContent::Text},
    {ControlId::sEdit_VRN, LineContent::Text},
    {ControlId::sComboBox_country, LineContent::Index},
    {ControlId::sEdit_W, LineContent::Text},
    {ControlId::sEdit_L, LineContent::Text},
    {ControlId::sEdit_typeSize, LineContent::Text},
    {ControlId::sEdit_speed, LineContent::Text},
    {ControlId::sEdit_odometer, LineContent::Text},
    {ControlId::sDateEdit2, LineContent::Text},
    {ControlId::sComboBox1, LineContent::ItemText},
    {ControlId::sComboBox2, LineContent::ItemText},
    {ControlId::sComboBox3, LineContent::Index},
    {ControlId::Edit_operator, LineContent::Text},
    {ControlId::Edit_IP, LineContent::Text},
    {ControlId::Edit_port, LineContent::Text},
    {ControlId::Edit_int_send, LineContent::Text},
    {ControlId::Edit_int_save, LineContent::Text},
    {ControlId::sEdit_master_N, LineContent::Text},
}};

// The window's entries as the 18 lines of a file.
std::vector<std::u16string> ReadEntries(const IForm& form);

// Lines that passed the whole-file check: 18 of them, with the index lines
// already converted (indexes[i] holds the value of index line i).
struct CheckedEntries {
  std::array<std::u16string, kSettingsLineCount> lines;
  std::array<int, kSettingsLineCount> indexes{};
};

// Checks the lines in file order, as a line-by-line load would take them, and
// throws the first fault that load would meet: AppError "List index out of
// bounds (<0-based index>)" for a missing line, ConvertError for a line 3 or 12
// that is not an integer. Lines after the 18th are ignored.
CheckedEntries CheckEntries(const std::vector<std::u16string>& lines);

// Puts every entry into its control. Selecting by program runs no change handler.
void ApplyEntries(IForm& form, const CheckedEntries& entries);

// Checks the whole set of lines first, then applies it; a fault changes no field.
void LoadEntries(IForm& form, const std::vector<std::u16string>& lines);

}  // namespace tacho
