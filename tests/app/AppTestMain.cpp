// The window tests run in one QApplication, offscreen unless a display is asked for,
// with the tool's look and Russian texts as at start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTranslator>

#include "Look.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTranslator russian;
  tacho::InstallRussianTexts(app, russian);
  tacho::ApplyLook(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
