#pragma once

#include <QImage>
#include <QString>

// Saves a finished picture through the imaging library, in the format its name asks
// for: ".gif" as an 8-bit palette picture, ".jpg" as JPEG, ".bmp" as a 24-bit bitmap,
// ".png" with its transparency.
// Missing folders on the way are made. Returns an empty string or the reason it failed.
QString SaveContentPicture(const QImage& picture, const QString& file, int jpegQuality);

// Reads a picture through the imaging library as 32-bit colour; null when it cannot.
QImage LoadContentPicture(const QString& file);
