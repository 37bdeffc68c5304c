#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The layout of one CPictureListBox item; plain functions so it is tested alone.

constexpr int kPictureListItemHeight = 125;

// The column width of a multi-column list by default: sixteen average characters of its
// font, never narrower than a 100-pixel thumbnail with a 10-pixel margin on each side.
int PictureListColumnWidth(int averageCharWidth);

// The picture at its own size, centred horizontally, 2 pixels below the item's top.
QRect PictureListPictureRect(const QRect& item, QSize picture);

// Where the text goes: the item's width (less a small margin) below the picture, or from
// the top when the item has no picture (pictureHeight 0).
QRect PictureListTextRect(const QRect& item, int pictureHeight);

// The text as shown: "&&" shows as "&" and a single "&" shows as itself, never as a
// mnemonic underline.
QString PictureListDisplayText(const QString& text);
