#include "GsmPresets.h"

#include <string>

namespace tacho {

void Default_ButtonClick(IForm& form) {
  form.SelectIndex(ControlId::sComboBox3, kDefaultOperatorIndex);
  std::u16string connection(kOperatorPresets[kDefaultOperatorIndex]);
  connection += kDefaultConnectionTail;
  form.SetText(ControlId::Edit_IP, kDefaultServerAddress);
  form.SetText(ControlId::Edit_port, kDefaultServerPort);
  form.SetText(ControlId::Edit_operator, connection);
  form.SetText(ControlId::Edit_int_send, kDefaultSendInterval);
  form.SetText(ControlId::Edit_int_save, kDefaultSaveInterval);
}

void sComboBox3Change(IForm& form) {
  const int index = form.SelectedIndex(ControlId::sComboBox3);
  if (index < 0 || index >= static_cast<int>(kOperatorPresets.size())) return;
  form.SetText(ControlId::Edit_operator, kOperatorPresets[static_cast<std::size_t>(index)]);
}

}  // namespace tacho
