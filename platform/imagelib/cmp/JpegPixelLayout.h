#pragma once

#include <QImage>
#include <QSysInfo>
// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <jpeglib.h>

// The libjpeg colour space whose bytes are a Format_RGB32 pixel in memory (0xffRRGGBB as
// a 32-bit word), so rows go between libjpeg and a QImage without a conversion pass.
// libjpeg-turbo fills the X byte with 0xFF, which is what RGB32 wants there.
constexpr J_COLOR_SPACE kRgb32ColorSpace =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;
