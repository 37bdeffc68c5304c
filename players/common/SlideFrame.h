#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

// The largest rectangle of the picture's proportions inside area, centred in it
// (small pictures are enlarged to fill it too). Empty for an empty picture or area.
QRect FitPictureRect(QSize picture, QSize area);

// Paints one frame of a show into area: black, `from` fading out and `to` fading in by
// mix (0: only `from`, 1: only `to`), each fitted and centred; null pictures are left out.
// A non-empty message is written in the middle in white, over whatever else is there.
void PaintSlideFrame(QPainter& painter, QSize area, const QImage& from, const QImage& to,
                     double mix, const QString& message = QString());
