#pragma once

#include <QPixmap>
#include <QString>

// A picture file the program ships (tab pictures, button pictures), read through the
// imaging library; a null pixmap when it is missing or unreadable.
QPixmap LoadProgramPicture(const QString& path);
