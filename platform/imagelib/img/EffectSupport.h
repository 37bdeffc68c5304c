#pragma once

// What the effects share: their pixels as 32-bit rows, finishing (the region's outside
// kept, the result's depth chosen) and the shape of an effect that maps each colour alone.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include <QImage>

#include "krn/ParallelRows.h"
#include "krn/ltkrn.h"

// The picture as 32-bit pixels: RGB32, or ARGB32 when it has transparency.
QImage EffectSource(const ImageBitmap& bmp);
// A picture of the source's size and format for the rows to be written into; null when
// memory is short.
QImage NewEffectTarget(const QImage& source);

// Rows of an image that several threads write at once: the pointers are taken once, so
// no thread makes the image detach.
class TargetRows {
 public:
  explicit TargetRows(QImage& image) : base_(image.bits()), stride_(image.bytesPerLine()) {}
  QRgb* operator[](int y) const { return reinterpret_cast<QRgb*>(base_ + stride_ * y); }

 private:
  uchar* base_;
  qsizetype stride_;
};
inline const QRgb* SourceRow(const QImage& image, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// The shape of most effects: a new picture of the source's size (32-bit), its rows written
// a band at a time on every core, then finished. ERROR_USER_ABORT, the picture untouched,
// when the progress callback asks to stop. minimumBand as for ForEachRowBand.
using RowBandWork = std::function<void(const QImage& source, const TargetRows& out, int firstRow, int endRow)>;
int ApplyByRowBands(ImageBitmap& bmp, const RowBandWork& work, int minimumBand = 16);

// For the effects over a square neighbourhood or tile of `size`: the result when the effect
// need not run (a size out of range, no picture, or a size of 0 or 1, which changes
// nothing), or nothing when it must.
std::optional<int> NeighbourhoodShortcut(const ImageBitmap& bmp, int size);

// Puts an effect's result (32-bit, of the picture's size) into the picture: pixels
// outside the picture's region keep their colour, and a grey picture whose result is grey
// throughout stays 8-bit grey.
int FinishEffect(ImageBitmap& bmp, QImage result);

// Whether every palette entry is grey.
bool IsGreyPalette(const QList<QRgb>& palette);

// The colour part of a pixel mapped, its transparency kept.
template <class Map>
inline QRgb MapColourPart(QRgb pixel, const Map& map) {
  return (map(pixel) & 0x00ffffffu) | (pixel & 0xff000000u);
}

// An effect that maps each colour on its own: an indexed picture without a region has its
// palette mapped and keeps its depth; any other has every pixel mapped.
template <class Map>
int MapColours(ImageBitmap& bmp, const Map& map) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (bmp.Pixels.format() == QImage::Format_Indexed8 && bmp.Region.isEmpty()) {
    QList<QRgb> palette = bmp.Pixels.colorTable();
    for (QRgb& entry : palette) entry = MapColourPart(entry, map);
    if (!ReportProgress(100)) return ERROR_USER_ABORT;
    QImage mapped = bmp.Pixels;
    mapped.setColorTable(palette);
    if (mapped.isNull()) return ERROR_NO_MEMORY;
    bmp.Pixels = std::move(mapped);
    if (bmp.Order == ColorOrder::Gray && !IsGreyPalette(palette)) bmp.Order = ColorOrder::Bgr;
    return SUCCESS;
  }
  return ApplyByRowBands(bmp, [&map](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    for (int y = first; y < end; ++y) {
      const QRgb* in = SourceRow(source, y);
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) to[x] = MapColourPart(in[x], map);
    }
  });
}

// An effect that maps each colour component through one table.
using ComponentTable = std::array<uint8_t, 256>;
int MapComponents(ImageBitmap& bmp, const ComponentTable& table);

inline uint8_t ClampComponent(int value) { return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value); }
