// Takes the screenshots of the two pages for the README: starts the tool's
// window on the X display, shows each page as a click on its tab would, and
// grabs the screen with ImageMagick's `import -window root`, cut to the window.
// Usage (from docs/take-screenshots.sh): take_screenshots OUTPUT_DIR
#include <QApplication>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>
#include <cstdio>

#include "Look.h"
#include "Unit1.h"

namespace {

bool Grab(const QWidget& window, const QString& file) {
  QTest::qWait(400);  // let the X server draw
  // The screen's pixels: logical coordinates times the scale of a high-DPI screen.
  const qreal scale = window.devicePixelRatioF();
  const QRectF logical = QRectF(window.frameGeometry().adjusted(-8, -8, 8, 8));
  const QRect frame(qRound(logical.x() * scale), qRound(logical.y() * scale), qRound(logical.width() * scale),
                    qRound(logical.height() * scale));
  const QString crop = QString::asprintf("%dx%d+%d+%d", frame.width(), frame.height(), frame.x(), frame.y());
  return QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                      QStringLiteral("-crop"), crop, QStringLiteral("+repage"),
                                                      file}) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: take_screenshots OUTPUT_DIR\n");
    return 2;
  }
  QApplication app(argc, argv);
  QTranslator russian;
  tacho::InstallRussianTexts(app, russian);
  tacho::ApplyLook(app);
  tacho::TForm1 form;
  form.ShowCentred();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  const QString dir = QString::fromLocal8Bit(argv[1]);
  if (!Grab(form, dir + QStringLiteral("/screenshot-calibration.png"))) return 1;
  QTabBar* tabs = form.Pages()->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  return Grab(form, dir + QStringLiteral("/screenshot-gsm.png")) ? 0 : 1;
}
