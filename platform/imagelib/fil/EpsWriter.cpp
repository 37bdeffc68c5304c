#include "fil/EpsWriter.h"

#include <algorithm>
#include <cmath>

#include "fil/MonochromeRows.h"
#include "krn/ltkrn.h"

namespace {
// Hex lines well inside the 255 characters the conventions allow.
constexpr int kHexPerLine = 72;

class HexLines {
 public:
  explicit HexLines(QByteArray& out) : out_(out) {}
  void Put(uchar byte) {
    static const char kDigits[] = "0123456789abcdef";
    out_.append(kDigits[byte >> 4]);
    out_.append(kDigits[byte & 15]);
    column_ += 2;
    if (column_ >= kHexPerLine) {
      out_.append('\n');
      column_ = 0;
    }
  }
  void End() {
    if (column_ > 0) out_.append('\n');
  }

 private:
  QByteArray& out_;
  int column_ = 0;
};

// Size on the page in points, from the picture's resolution (72 dots an inch when unknown).
double Points(int pixels, int dpi) { return pixels * 72.0 / (dpi > 0 ? dpi : 72); }
}  // namespace

int EpsEncode(const ImageBitmap& bmp, QByteArray& bytes) {
  const QImage& pixels = bmp.Pixels;
  const int width = pixels.width();
  const int height = pixels.height();
  const int bits = bmp.BitsPerPixel == 1 ? 1 : bmp.BitsPerPixel == 8 ? 8 : 24;
  const double pageWidth = Points(width, bmp.XResolution);
  const double pageHeight = Points(height, bmp.YResolution);
  const int rowBytes = bits == 1 ? (width + 7) / 8 : bits == 8 ? width : width * 3;

  QByteArray out;
  out.reserve(qsizetype(rowBytes) * height * 2 + qsizetype(height) * 2 + 1024);
  out.append("%!PS-Adobe-3.0 EPSF-3.0\n");
  out.append("%%Creator: Brivane\n");
  out.append(QStringLiteral("%%BoundingBox: 0 0 %1 %2\n")
                 .arg(int(std::ceil(pageWidth)))
                 .arg(int(std::ceil(pageHeight)))
                 .toLatin1());
  out.append(QStringLiteral("%%HiResBoundingBox: 0 0 %1 %2\n")
                 .arg(pageWidth, 0, 'f', 3)
                 .arg(pageHeight, 0, 'f', 3)
                 .toLatin1());
  out.append("%%LanguageLevel: 1\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n");
  out.append("gsave\n");
  out.append(QStringLiteral("%1 %2 scale\n")
                 .arg(pageWidth, 0, 'f', 3)
                 .arg(pageHeight, 0, 'f', 3)
                 .toLatin1());
  out.append(QStringLiteral("/row %1 string def\n").arg(rowBytes).toLatin1());
  const QByteArray matrix =
      QStringLiteral("%1 %2 %3 [%1 0 0 -%2 0 %2]\n{currentfile row readhexstring pop}\n")
          .arg(width)
          .arg(height)
          .arg(bits == 24 ? 8 : bits)
          .toLatin1();
  out.append(matrix);
  out.append(bits == 24 ? "false 3 colorimage\n" : "image\n");

  HexLines hex(out);
  const QImage rgb = bits == 24 ? BitmapToRgb32(bmp) : QImage();
  const QList<QRgb> palette = pixels.colorTable();
  for (int y = 0; y < height; ++y) {
    if (y % 256 == 0 && !ReportProgress(int(qint64(y) * 100 / height))) return ERROR_USER_ABORT;
    if (bits == 1) {
      // In PostScript a set bit of a one-bit picture is white.
      for (char c : PackMonochromeRow(bmp, y, false)) hex.Put(uchar(c));
    } else if (bits == 8) {
      const uchar* row = pixels.constScanLine(y);
      for (int x = 0; x < width; ++x)
        hex.Put(uchar(row[x] < palette.size() ? qGray(palette[row[x]]) : 0));
    } else {
      const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        hex.Put(uchar(qRed(row[x])));
        hex.Put(uchar(qGreen(row[x])));
        hex.Put(uchar(qBlue(row[x])));
      }
    }
  }
  hex.End();
  out.append("grestore\nshowpage\n%%Trailer\n%%EOF\n");
  bytes = std::move(out);
  return SUCCESS;
}
