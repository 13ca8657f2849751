#include "TermiosSettings.h"

namespace tacho {

termios DeviceTermios(const termios& reported) {
  termios t = reported;
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                      IXANY | INPCK);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARODD | CSTOPB | CRTSCTS);
  t.c_cflag |= CS8 | PARENB | CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  return t;
}

termios WithoutParity(const termios& settings) {
  termios t = settings;
  t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
  return t;
}

}  // namespace tacho
