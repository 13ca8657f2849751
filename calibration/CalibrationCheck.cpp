#include "CalibrationCheck.h"
