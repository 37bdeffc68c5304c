#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The description hint of the photo list. A text narrower than 200 pixels gives
// width + 4 by line height + 4; a wider one is 204 wide and as many lines high as
// text width / 200 + 1, plus 4.
QSize HintSize(int textWidth, int lineHeight);
// Where the hint goes for the cursor at `cursor` (list coordinates): 16 pixels below
// it, or left of / above it by the hint's own size plus 2 where it would leave the list.
QPoint HintPosition(QPoint cursor, QSize hint, QSize list);
