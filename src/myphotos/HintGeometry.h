#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QFontMetrics;

// The description hint of the photo list. A text narrower than 200 pixels gives
// width + 4 by line height + 4; a wider one is 204 wide and as high as the text wrapped
// at word boundaries into 200 pixels with that font, plus 4, so no line is cut off.
QSize HintSize(const QFontMetrics& metrics, const QString& text);
// Where the hint goes for the cursor at `cursor` (list coordinates): 16 pixels below
// it, or left of / above it by the hint's own size plus 2 where it would leave the list.
QPoint HintPosition(QPoint cursor, QSize hint, QSize list);
