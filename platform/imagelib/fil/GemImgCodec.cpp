#include "fil/GemImgCodec.h"

#include <algorithm>
#include <cstring>

#include "fil/MonochromeRows.h"
#include "krn/ResultCodes.h"

namespace {
constexpr int kHeaderWords = 8;
constexpr int kPatternBytes = 2;
constexpr int kMaxSolid = 127;
constexpr int kMaxLiteral = 255;
constexpr int kMaxRepeat = 255;

int Word(const unsigned char* data, std::size_t at) { return data[at] << 8 | data[at + 1]; }

void PutWord(QByteArray& out, int value) {
  out.append(char((value >> 8) & 0xFF));
  out.append(char(value & 0xFF));
}

struct Header {
  int HeaderBytes = 0;
  int Planes = 0;
  int PatternBytes = 0;
  int Width = 0;
  int Height = 0;
};

int ReadHeader(const unsigned char* data, std::size_t size, Header& header) {
  if (size < 2 * kHeaderWords) return ERROR_FILE_CORRUPT;
  header.HeaderBytes = 2 * Word(data, 2);
  header.Planes = Word(data, 4);
  header.PatternBytes = Word(data, 6);
  header.Width = Word(data, 12);
  header.Height = Word(data, 14);
  if (header.HeaderBytes < 2 * kHeaderWords || std::size_t(header.HeaderBytes) > size ||
      header.PatternBytes < 1 || header.PatternBytes > 8 || header.Width == 0 || header.Height == 0)
    return ERROR_FILE_CORRUPT;
  return SUCCESS;
}

// Decodes one row's items into out; repeat receives a row-repeat count when one comes
// first. False when the data ends early or an item would overrun the row.
bool DecodeRow(const unsigned char* data, std::size_t size, std::size_t& at, int patternBytes,
               unsigned char* out, std::size_t rowBytes, int& repeat) {
  std::size_t done = 0;
  repeat = 1;
  while (done < rowBytes) {
    if (at >= size) return false;
    const int code = data[at++];
    if (code == 0) {
      if (at >= size) return false;
      const int count = data[at++];
      if (count == 0) {  // 00 00 FF n: the row that follows comes n times
        if (at + 2 > size || data[at] != 0xFF || done != 0) return false;
        repeat = std::max(1, int(data[at + 1]));
        at += 2;
        continue;
      }
      if (at + std::size_t(patternBytes) > size) return false;
      for (int i = 0; i < count; ++i)
        for (int b = 0; b < patternBytes && done < rowBytes; ++b)
          out[done++] = data[at + std::size_t(b)];
      at += std::size_t(patternBytes);
    } else if (code == 0x80) {
      if (at >= size) return false;
      const std::size_t count = data[at++];
      if (at + count > size || done + count > rowBytes) return false;
      std::memcpy(out + done, data + at, count);
      done += count;
      at += count;
    } else {
      const std::size_t count = std::size_t(code & 0x7F);
      if (done + count > rowBytes) return false;
      std::memset(out + done, code & 0x80 ? 0xFF : 0x00, count);
      done += count;
    }
  }
  return true;
}

QByteArray EncodeRow(const QByteArray& row) {
  QByteArray out;
  const int size = int(row.size());
  int at = 0;
  while (at < size) {
    const uchar value = uchar(row[at]);
    if (value == 0x00 || value == 0xFF) {
      int run = 1;
      while (at + run < size && run < kMaxSolid && uchar(row[at + run]) == value) ++run;
      out.append(char((value ? 0x80 : 0x00) | run));
      at += run;
      continue;
    }
    int literal = 0;
    while (at + literal < size && literal < kMaxLiteral) {
      const uchar next = uchar(row[at + literal]);
      if (next == 0x00 || next == 0xFF) break;
      ++literal;
    }
    out.append(char(0x80));
    out.append(char(literal));
    out.append(row.mid(at, literal));
    at += literal;
  }
  return out;
}
}  // namespace

int GemImgReadSize(const unsigned char* data, std::size_t size, int& width, int& height) {
  Header header;
  if (const int rc = ReadHeader(data, size, header); rc != SUCCESS) return rc;
  width = header.Width;
  height = header.Height;
  return SUCCESS;
}

int GemImgDecode(const unsigned char* data, std::size_t size, ImageBitmap& bmp) {
  Header header;
  if (const int rc = ReadHeader(data, size, header); rc != SUCCESS) return rc;
  if (header.Planes != 1) return ERROR_FORMAT_NO_READER;
  const std::size_t rowBytes = (std::size_t(header.Width) + 7) / 8;
  QImage image = NewMonochromeImage(header.Width, header.Height);
  if (image.isNull()) return ERROR_NO_MEMORY;
  QByteArray row(qsizetype(rowBytes), '\0');
  auto* rowData = reinterpret_cast<unsigned char*>(row.data());
  std::size_t at = std::size_t(header.HeaderBytes);
  for (int y = 0; y < header.Height;) {
    int repeat = 1;
    if (!DecodeRow(data, size, at, header.PatternBytes, rowData, rowBytes, repeat))
      return ERROR_FILE_CORRUPT;
    for (int i = 0; i < repeat && y < header.Height; ++i)
      UnpackMonochromeRow(rowData, image, y++, true);
  }
  ImageBitmap out;
  if (const int rc = SetBitmapImage(out, std::move(image)); rc != SUCCESS) return rc;
  bmp = std::move(out);
  return SUCCESS;
}

int GemImgEncode(const ImageBitmap& bmp, QByteArray& bytes) {
  const int width = bmp.Pixels.width();
  const int height = bmp.Pixels.height();
  if (width > 0x7FFF || height > 0x7FFF) return ERROR_IMAGE_TOO_LARGE;
  // Pixel size in microns from the resolution (85 for 300 dots an inch).
  const auto microns = [](int dpi) { return dpi > 0 ? std::clamp(25400 / dpi, 1, 0x7FFF) : 85; };
  QByteArray out;
  for (int value : {1, kHeaderWords, 1, kPatternBytes, microns(bmp.XResolution),
                    microns(bmp.YResolution), width, height})
    PutWord(out, value);
  for (int y = 0; y < height;) {
    const QByteArray row = PackMonochromeRow(bmp, y, true);
    int repeat = 1;
    while (y + repeat < height && repeat < kMaxRepeat &&
           PackMonochromeRow(bmp, y + repeat, true) == row)
      ++repeat;
    if (repeat > 1) {
      out.append("\x00\x00\xFF", 3);
      out.append(char(repeat));
    }
    out.append(EncodeRow(row));
    y += repeat;
  }
  bytes = std::move(out);
  return SUCCESS;
}
