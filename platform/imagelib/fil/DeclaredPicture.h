#pragma once

// What a picture file's header declares about the picture's size, and whether the coded
// data after it could decode to that many pixels at all: the most a byte of each format's
// coding can expand to bounds what a file can hold. Read before decoding, so that a
// small file declaring a huge picture is refused before anything is set aside for it.

#include <QtGlobal>
#include <cstddef>

struct DeclaredPicture {
  bool Known = false;  // the header was understood; false for formats not read here
  qint64 Width = 0;
  qint64 Height = 0;
  qint64 DataBytes = 0;       // the bytes that hold the coded pixels
  bool DataTooShort = false;  // even at the coding's best, the data holds fewer pixels
};

// The declared picture of a file of the format (a FileFormat code). For icons, the first
// embedded PNG that CheckDeclaredPicture refuses, else nothing Known.
DeclaredPicture ReadDeclaredPicture(int format, const unsigned char* data, std::size_t size);
// SUCCESS when the picture is not Known or nothing speaks against decoding it, else the
// verdict of CheckPictureSize: ERROR_IMAGE_TOO_LARGE or ERROR_FILE_CORRUPT.
int CheckDeclaredPicture(const DeclaredPicture& picture);
