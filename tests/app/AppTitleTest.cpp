#include <gtest/gtest.h>

#include "AppTitle.h"
#include "QtPrint.h"

namespace tacho {
namespace {

TEST(ApplicationTitle, IsTheFileNameCutBeforeItsFirstDotWithLaterLettersInLowerCase) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/usr/bin/Tachocalib", "Tachocalib"},
      {"C:/Program Files/Tacho/TACHOCALIB.EXE", "Tachocalib"},
      {"C:\\Tacho\\TachoCalib.exe", "Tachocalib"},
      {"/opt/Tacho.calib.exe", "Tacho"},          // the first dot, not the last
      {"/opt/a.b/Writer", "Writer"},              // a dot in a folder does not count
      {"ПРОГРАММА.exe", "Программа"},
      {"tachocalib", "tachocalib"},               // the first letter is kept as it is
      {"/opt/X.exe", "X"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplicationTitle(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
  }
}

}  // namespace
}  // namespace tacho
