#include "DcbSettings.h"

#include "PortSettings.h"

namespace tacho {

static_assert(kDcbFields.Parity == EVENPARITY && kDcbFields.StopBits == ONESTOPBIT);

DCB DeviceDcb(const DCB& reported) {
  DCB dcb = reported;
  dcb.BaudRate = kDcbFields.BaudRate;
  dcb.ByteSize = kDcbFields.ByteSize;
  dcb.Parity = kDcbFields.Parity;
  dcb.StopBits = kDcbFields.StopBits;
  dcb.DCBlength = sizeof(DCB);
  dcb.fNull = FALSE;
  return dcb;
}

}  // namespace tacho
