#include "Form.h"

namespace tacho {

std::string_view ControlName(ControlId id) {
  switch (id) {
#define TACHO_NAME(x) \
  case ControlId::x:  \
    return #x;
    TACHO_NAME(Open_File_Button)
    TACHO_NAME(Save_File_Button)
    TACHO_NAME(sComboBox_port)
    TACHO_NAME(Search_Button)
    TACHO_NAME(sEdit_master_N)
    TACHO_NAME(sEdit_VIN)
    TACHO_NAME(sEdit_VRN)
    TACHO_NAME(sComboBox_country)
    TACHO_NAME(sEdit_W)
    TACHO_NAME(sEdit_L)
    TACHO_NAME(sEdit_typeSize)
    TACHO_NAME(sEdit_speed)
    TACHO_NAME(sEdit_odometer)
    TACHO_NAME(sDateEdit2)
    TACHO_NAME(sComboBox1)
    TACHO_NAME(sComboBox2)
    TACHO_NAME(sComboBox3)
    TACHO_NAME(Edit_operator)
    TACHO_NAME(Edit_IP)
    TACHO_NAME(Edit_port)
    TACHO_NAME(Edit_int_send)
    TACHO_NAME(Edit_int_save)
    TACHO_NAME(Default_Button)
    TACHO_NAME(Write_Kalibr_Button)
    TACHO_NAME(Help_Button)
    TACHO_NAME(Read_GSM_Button)
    TACHO_NAME(Write_GSM_Button)
    TACHO_NAME(sPageControl1)
#undef TACHO_NAME
  }
  return {};
}

}  // namespace tacho
