#pragma once

// Picture files built byte by byte for the tests of decompression bombs: small files
// that declare huge pictures, and flat pictures of the same codings.

#include <QByteArray>
#include <vector>

void PutLe16(QByteArray& out, quint32 value);
void PutLe32(QByteArray& out, quint32 value);
void PutBe16(QByteArray& out, quint32 value);
void PutBe32(QByteArray& out, quint32 value);
// A zlib stream, as PNG and TIFF hold it.
QByteArray Deflated(const QByteArray& raw);

// A valid grey PNG of the declared size whose data holds `rows` (filter bytes included).
QByteArray PngFile(quint32 width, quint32 height, int depth, const QByteArray& rows);
// A flat grey JPEG of width x height made by libjpeg, Huffman- or arithmetic-coded, its
// frame header then made to declare the other size.
QByteArray FlatJpegFile(bool arithmetic, int width, int height, quint16 declaredWidth,
                        quint16 declaredHeight);
// MS Paint version 2 with the given row sizes; an empty row is white, the bytes of any
// other are white runs.
QByteArray MspPackedFile(quint32 width, const std::vector<quint16>& rowSizes);
// GEM Image of solid white runs, each row given 255 times, until rowsWritten rows.
QByteArray GemImgFile(quint32 width, quint32 height, quint32 rowsWritten);
