#pragma once

#include <QSize>

#include "krn/ImageBitmap.h"

class QPrinter;

// The printed size of a picture: scaled to the printable width (fractions cut off), then,
// when that is taller than the printable height, scaled down to it. Empty for an empty
// picture or printable area.
QSize PrintPictureSize(QSize picture, QSize printable);
// Prints the picture on one page of the document "Printing a Photo", at the top-left of
// the printable area, at PrintPictureSize. An empty picture prints an empty page. False
// when the printer could not be started.
bool PrintPhoto(QPrinter& printer, const ImageBitmap& picture);
