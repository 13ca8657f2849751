// The tool's look: the Fusion style with one palette for every control, the
// Tahoma fonts in pixel sizes, and Qt's own Russian texts for its boxes and dialogs.
#pragma once

#include <QFont>

class QApplication;
class QTranslator;

namespace tacho {

// Tahoma at a pixel size (96-dpi pixels, scaled on high-DPI screens), with DejaVu
// Sans where Tahoma is missing.
QFont TahomaFont(int pixelSize, bool bold = false);

// Style, palette, window font and the Tahoma files that Debian's fonts-wine
// carries outside fontconfig's folders.
void ApplyLook(QApplication& app);
// Loads qtbase_ru into `translator` and installs it; a missing file leaves Qt's
// English texts.
void InstallRussianTexts(QApplication& app, QTranslator& translator);

}  // namespace tacho
