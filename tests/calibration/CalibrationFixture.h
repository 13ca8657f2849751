// A calibration page holding the worked example's entries, local time UTC+3.
#pragma once

#include "FormModel.h"
#include "MoscowTime.h"
#include "TextCodec.h"
#include "WorkedCalibrationEntries.h"

namespace tacho {

class CalibrationPage : public MoscowTime {
 protected:
  CalibrationPage() { test::TypeWorkedCalibrationEntries(form); }

  FormModel form{CivilDate{2024, 1, 10}};
};

}  // namespace tacho
