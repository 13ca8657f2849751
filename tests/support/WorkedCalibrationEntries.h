// The calibration page of the worked example: the entries whose record is known
// byte for byte (next calibration date 25.12.2014, local time UTC+3).
#pragma once

#include "Form.h"

namespace tacho::test {

inline void TypeWorkedCalibrationEntries(IForm& form) {
  form.SetText(ControlId::sEdit_VIN, u"XYZ12345678901234");
  form.SelectIndex(ControlId::sComboBox_country, 43);
  form.SetText(ControlId::sEdit_VRN, u"А123ВС77");
  form.SetText(ControlId::sEdit_W, u"8000");
  form.SetText(ControlId::sEdit_L, u"3150");
  form.SetText(ControlId::sEdit_typeSize, u"315/80R22.5");
  form.SetText(ControlId::sEdit_speed, u"90");
  form.SetText(ControlId::sEdit_odometer, u"12345");
  form.SetText(ControlId::sDateEdit2, u"25.12.2014");
  form.SelectIndex(ControlId::sComboBox1, form.FindItem(ControlId::sComboBox1, u"+3"));
  form.SelectIndex(ControlId::sComboBox2, 0);
}

}  // namespace tacho::test
