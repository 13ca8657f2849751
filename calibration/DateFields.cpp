#include "DateFields.h"
