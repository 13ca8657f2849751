#include "CalibrationRecord.h"
