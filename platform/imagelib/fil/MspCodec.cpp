#include "fil/MspCodec.h"

#include <algorithm>
#include <cstring>

#include "fil/MonochromeRows.h"
#include "krn/ResultCodes.h"

namespace {
constexpr std::size_t kHeaderBytes = 32;
constexpr int kChecksumWord = 12;
constexpr int kMaxRun = 255;

int Word(const unsigned char* data, std::size_t at) { return data[at] | data[at + 1] << 8; }

void PutWord(QByteArray& out, int value) {
  out.append(char(value & 0xFF));
  out.append(char((value >> 8) & 0xFF));
}

bool IsVersion2(const unsigned char* data) { return std::memcmp(data, "LinS", 4) == 0; }

// Version 2 rows: a zero byte starts a run (count, value); any other byte is the number
// of plain bytes that follow.
bool UnpackRow(const unsigned char* in, std::size_t length, unsigned char* out,
               std::size_t rowBytes) {
  std::size_t at = 0, done = 0;
  while (at < length && done < rowBytes) {
    const int type = in[at++];
    if (type == 0) {
      if (at + 2 > length) return false;
      const std::size_t count = std::min<std::size_t>(in[at], rowBytes - done);
      std::memset(out + done, in[at + 1], count);
      done += count;
      at += 2;
    } else {
      const std::size_t count = std::size_t(type);
      if (at + count > length) return false;
      std::memcpy(out + done, in + at, std::min(count, rowBytes - done));
      done += std::min(count, rowBytes - done);
      at += count;
    }
  }
  return done == rowBytes;
}

QByteArray PackRow(const QByteArray& row) {
  QByteArray out;
  int at = 0;
  const int size = int(row.size());
  while (at < size) {
    int run = 1;
    while (at + run < size && run < kMaxRun && row[at + run] == row[at]) ++run;
    if (run >= 3) {
      out.append('\0');
      out.append(char(run));
      out.append(row[at]);
      at += run;
      continue;
    }
    // Plain bytes up to the next run worth packing.
    int plain = 0;
    while (at + plain < size && plain < kMaxRun) {
      const int p = at + plain;
      if (p + 2 < size && row[p] == row[p + 1] && row[p] == row[p + 2]) break;
      ++plain;
    }
    out.append(char(plain));
    out.append(row.mid(at, plain));
    at += plain;
  }
  return out;
}
}  // namespace

int MspReadSize(const unsigned char* data, std::size_t size, int& width, int& height) {
  if (size < kHeaderBytes) return ERROR_FILE_CORRUPT;
  if (std::memcmp(data, "DanM", 4) != 0 && !IsVersion2(data)) return ERROR_FILE_FORMAT;
  width = Word(data, 4);
  height = Word(data, 6);
  if (width == 0 || height == 0) return ERROR_FILE_CORRUPT;
  return SUCCESS;
}

int MspDecode(const unsigned char* data, std::size_t size, ImageBitmap& bmp) {
  int width = 0, height = 0;
  if (const int rc = MspReadSize(data, size, width, height); rc != SUCCESS) return rc;
  const std::size_t rowBytes = (std::size_t(width) + 7) / 8;
  QImage image = NewMonochromeImage(width, height);
  if (image.isNull()) return ERROR_NO_MEMORY;
  QByteArray row(qsizetype(rowBytes), '\0');
  auto* rowData = reinterpret_cast<unsigned char*>(row.data());
  if (!IsVersion2(data)) {
    if (kHeaderBytes + rowBytes * std::size_t(height) > size) return ERROR_FILE_CORRUPT;
    for (int y = 0; y < height; ++y)
      UnpackMonochromeRow(data + kHeaderBytes + rowBytes * std::size_t(y), image, y, false);
  } else {
    const std::size_t mapBytes = 2 * std::size_t(height);
    if (kHeaderBytes + mapBytes > size) return ERROR_FILE_CORRUPT;
    std::size_t at = kHeaderBytes + mapBytes;
    for (int y = 0; y < height; ++y) {
      const std::size_t length = std::size_t(Word(data, kHeaderBytes + 2 * std::size_t(y)));
      if (at + length > size) return ERROR_FILE_CORRUPT;
      // A row of length 0 is all white.
      if (length == 0)
        row.fill(char(0xFF));
      else if (!UnpackRow(data + at, length, rowData, rowBytes))
        return ERROR_FILE_CORRUPT;
      UnpackMonochromeRow(rowData, image, y, false);
      at += length;
    }
  }
  ImageBitmap out;
  if (const int rc = SetBitmapImage(out, std::move(image)); rc != SUCCESS) return rc;
  bmp = std::move(out);
  return SUCCESS;
}

int MspEncode(const ImageBitmap& bmp, QByteArray& bytes) {
  const int width = bmp.Pixels.width();
  const int height = bmp.Pixels.height();
  if (width > 0xFFFF || height > 0xFFFF) return ERROR_IMAGE_TOO_LARGE;
  QByteArray out;
  out.append("LinS");
  for (int value : {width, height, 1, 1, 1, 1, width, height, 0, 0}) PutWord(out, value);
  int checksum = 0;
  for (int i = 0; i < kChecksumWord; ++i)
    checksum ^= Word(reinterpret_cast<const unsigned char*>(out.constData()), 2 * std::size_t(i));
  PutWord(out, checksum);
  out.append(QByteArray(int(kHeaderBytes) - int(out.size()), '\0'));
  QByteArray rows;
  QByteArray map;
  for (int y = 0; y < height; ++y) {
    const QByteArray packed = PackRow(PackMonochromeRow(bmp, y, false));
    if (packed.size() > 0xFFFF) return ERROR_IMAGE_TOO_LARGE;
    PutWord(map, int(packed.size()));
    rows.append(packed);
  }
  bytes = out + map + rows;
  return SUCCESS;
}
