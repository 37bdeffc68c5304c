#include "controls/ProgramCursors.h"

#include <QFile>
#include <QHash>
#include <QPixmap>
#include <QTextStream>

#include "system/Folders.h"

namespace {
// Hot spots by file name, from "cursors.txt": "file,x,y" lines, ";" starts a comment.
QHash<QString, QPoint> ReadHotSpots(const QString& folder) {
  QHash<QString, QPoint> spots;
  QFile file(folder + "cursors.txt");
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return spots;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(';')) continue;
    const QStringList parts = line.split(',');
    if (parts.size() == 3) spots.insert(parts[0].trimmed(), QPoint(parts[1].toInt(), parts[2].toInt()));
  }
  return spots;
}
}  // namespace

QCursor ProgramCursor(int id) {
  static QHash<int, QCursor> cursors;
  if (auto found = cursors.constFind(id); found != cursors.cend()) return *found;
  const QString folder = GetProgramFolder() + "resources/";
  const QString name = QString("cursor-%1.png").arg(id);
  const QPixmap picture(folder + name);
  QCursor cursor(Qt::ArrowCursor);
  if (!picture.isNull()) {
    const QPoint spot = ReadHotSpots(folder).value(name);
    cursor = QCursor(picture, spot.x(), spot.y());
  }
  cursors.insert(id, cursor);
  return cursor;
}
