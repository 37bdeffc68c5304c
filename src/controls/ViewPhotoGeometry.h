#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// The "View Full Photo" window for a picture: picture width + 13 and picture height +
// twice the Close button's height + 10, each at most the screen's; centred on the screen,
// its bottom kept at least 35 pixels above the screen's bottom. A window too tall for that
// keeps its top on the screen and gets shorter, so its title and Close button stay visible.
QRect ViewPhotoWindowRect(QSize picture, int buttonHeight, const QRect& screen);
// "View Full Photo - name, w x h", or without a name "View Full Photo - w x h".
QString ViewPhotoTitle(const QString& name, QSize picture);
