#include "Look.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "WindowDescription.h"

namespace tacho {
namespace {

// Fusion, with plain dialog buttons: the tool's boxes carry one OK button and no
// icon at all.
class ToolStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

QFont TahomaFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({QString::fromUtf16(kFontFace.data(), static_cast<qsizetype>(kFontFace.size())),
                   QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void ApplyLook(QApplication& app) {
#ifndef Q_OS_WIN
  // Only the regular face: the bold one of that package is drawn wide and thin,
  // and Qt's own emboldening of the regular face looks like Tahoma Bold.
  const QString tahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
  if (QFile::exists(tahoma)) QFontDatabase::addApplicationFont(tahoma);
#endif
  app.setStyle(new ToolStyle(QStyleFactory::create(QStringLiteral("Fusion"))));

  // A light steel-blue skin: button-face window, white fields, black text.
  QPalette p;
  const QColor face(0xe8, 0xec, 0xf2);
  p.setColor(QPalette::Window, face);
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::AlternateBase, QColor(0xf3, 0xf6, 0xfa));
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Button, QColor(0xdc, 0xe3, 0xee));
  p.setColor(QPalette::ButtonText, Qt::black);
  p.setColor(QPalette::Highlight, QColor(0x3a, 0x6e, 0xa5));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xe1));
  p.setColor(QPalette::ToolTipText, Qt::black);
  p.setColor(QPalette::Light, Qt::white);
  p.setColor(QPalette::Midlight, QColor(0xf2, 0xf5, 0xf9));
  p.setColor(QPalette::Mid, QColor(0xa8, 0xb4, 0xc4));
  p.setColor(QPalette::Dark, QColor(0x7f, 0x8c, 0x9d));
  p.setColor(QPalette::Shadow, QColor(0x4a, 0x54, 0x60));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
  }
  app.setPalette(p);
  app.setFont(TahomaFont(kMainWindow.font.pixelHeight));
}

void InstallRussianTexts(QApplication& app, QTranslator& translator) {
  // The calendar's month and day names and Qt's own texts in Russian.
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      translator.load(QStringLiteral("qtbase_ru"), QApplication::applicationDirPath() + QStringLiteral("/translations"))) {
    app.installTranslator(&translator);
  }
}

}  // namespace tacho
