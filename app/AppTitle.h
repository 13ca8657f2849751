// The application title that the plain message and the error box show: the
// program file's name without its folder, cut before its first dot, with every
// letter after the first in lower case.
#pragma once

#include <QString>

namespace tacho {

QString ApplicationTitle(const QString& programFilePath);

}  // namespace tacho
