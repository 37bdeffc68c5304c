#include "support/BombFiles.h"

#include <jpeglib.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

void PutLe16(QByteArray& out, quint32 value) {
  out += char(value & 0xFF);
  out += char(value >> 8 & 0xFF);
}
void PutLe32(QByteArray& out, quint32 value) {
  PutLe16(out, value & 0xFFFF);
  PutLe16(out, value >> 16);
}
void PutBe16(QByteArray& out, quint32 value) {
  out += char(value >> 8 & 0xFF);
  out += char(value & 0xFF);
}
void PutBe32(QByteArray& out, quint32 value) {
  PutBe16(out, value >> 16);
  PutBe16(out, value & 0xFFFF);
}

QByteArray Deflated(const QByteArray& raw) { return qCompress(raw, 9).mid(4); }

namespace {
quint32 Crc32(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFF;
  for (char c : bytes) {
    crc ^= uchar(c);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

QByteArray PngChunk(const QByteArray& type, const QByteArray& data) {
  QByteArray out;
  PutBe32(out, quint32(data.size()));
  out += type + data;
  PutBe32(out, Crc32(type + data));
  return out;
}
}  // namespace

QByteArray PngFile(quint32 width, quint32 height, int depth, const QByteArray& rows) {
  QByteArray header;
  PutBe32(header, width);
  PutBe32(header, height);
  header += char(depth);
  header += QByteArray(4, '\0');  // grey, deflate, no filtering method, not interlaced
  return "\x89PNG\r\n\x1A\n" + PngChunk("IHDR", header) + PngChunk("IDAT", Deflated(rows)) +
         PngChunk("IEND", {});
}

QByteArray FlatJpegFile(bool arithmetic, int width, int height, quint16 declaredWidth,
                        quint16 declaredHeight) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = 1;
  c.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  c.arith_code = arithmetic ? TRUE : FALSE;
  c.write_JFIF_header = FALSE;
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(std::size_t(width), 128);
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
  std::free(buffer);
  const qsizetype frame = bytes.indexOf(arithmetic ? "\xFF\xC9" : "\xFF\xC0");
  QByteArray declared;
  PutBe16(declared, declaredHeight);
  PutBe16(declared, declaredWidth);
  if (frame > 0) bytes.replace(frame + 5, 4, declared);
  return bytes;
}

QByteArray MspPackedFile(quint32 width, const std::vector<quint16>& rowSizes) {
  const quint32 height = quint32(rowSizes.size());
  QByteArray out("LinS");
  for (quint32 value : {width, height, 1u, 1u, 1u, 1u, width, height, 0u, 0u, 0u})
    PutLe16(out, value);
  out += QByteArray(32 - out.size(), '\0');
  for (quint16 size : rowSizes) PutLe16(out, size);
  for (quint16 size : rowSizes)
    for (int run = 0; run < size / 3; ++run) out += QByteArray("\x00\xFF\xFF", 3);
  return out;
}

QByteArray GemImgFile(quint32 width, quint32 height, quint32 rowsWritten) {
  QByteArray out;
  for (quint32 value : {1u, 8u, 1u, 2u, 85u, 85u, width, height}) PutBe16(out, value);
  QByteArray row;
  for (quint32 left = (width + 7) / 8; left > 0; left -= std::min(left, 127u))
    row += char(0x80 | std::min(left, 127u));
  for (quint32 y = 0; y < rowsWritten; y += 255) out += QByteArray("\x00\x00\xFF\xFF", 4) + row;
  return out;
}
