#include "AppTitle.h"

namespace tacho {

QString ApplicationTitle(const QString& programFilePath) {
  // Qt gives the program's path with "/" on every platform; "\" is accepted too.
  const qsizetype slash = std::max(programFilePath.lastIndexOf(u'/'), programFilePath.lastIndexOf(u'\\'));
  QString name = programFilePath.mid(slash + 1);
  const qsizetype dot = name.indexOf(u'.');
  if (dot >= 0) name.truncate(dot);
  if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
  return name;
}

}  // namespace tacho
