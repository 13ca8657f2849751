// Makes the Qt widget of one control of the window description: of its kind,
// under its container, at its place, with its texts, font, bound label, limits,
// hint, items, default and visibility. The window calls it for every control.
#pragma once

#include <QFont>
#include <QWidget>

#include "WindowDescription.h"

namespace tacho {

// A described font; {0} is the window's font.
QFont WindowFont(FontStyle font);

// The widget of `desc` under `parent` (the widget of its container). A page is
// added to its page control as a tab. The window itself is not made here.
QWidget* BuildWidget(const ControlDesc& desc, QWidget* parent);

}  // namespace tacho
