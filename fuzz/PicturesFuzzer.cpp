// Every picture reader behind GetImageFileInfo, LoadBitmapFile and LoadPictureFile, on one
// file whose format is told the way the program tells it: by the content, and by the
// extension only for the formats without a signature.

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include <QFile>
#include <QString>

#include "FuzzSupport.h"
#include "fil/ltfil.h"

namespace {
// A file whose content names no format is tried under each extension that decides a
// format by itself.
constexpr const char* kExtensionFormats[] = {"tga", "pct", "mac", "img", "dic"};
// The depth a load asks for; 0 keeps the file's own.
constexpr int kDepths[] = {0, 1, 4, 8, 24, 32};

int PaletteLimit(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : 256; }

// What a loaded bitmap promises: size, depth and pixels agree, and every palette index
// names an entry of the palette.
void ExpectWholeBitmap(const ImageBitmap& bmp) {
  FUZZ_EXPECT(bmp.hasPixels(), "a successful load gives pixels");
  FUZZ_EXPECT(bmp.Width > 0 && bmp.Height > 0, "a loaded picture has a size");
  FUZZ_EXPECT(bmp.Pixels.width() == bmp.Width && bmp.Pixels.height() == bmp.Height,
              "the recorded size is the pixels' size");
  FUZZ_EXPECT(IsSupportedBits(bmp.BitsPerPixel), "a loaded picture has a supported depth");
  FUZZ_EXPECT(bmp.Pixels.format() == ImageFormatForBits(bmp.BitsPerPixel),
              "the pixels' format follows the depth");
  if (bmp.Pixels.format() != QImage::Format_Indexed8) return;
  const int colours = bmp.Pixels.colorCount();
  FUZZ_EXPECT(colours > 0 && colours <= PaletteLimit(bmp.BitsPerPixel),
              "an indexed picture's palette fits its depth");
  for (int y = 0; y < bmp.Height; ++y) {
    const uchar* row = bmp.Pixels.constScanLine(y);
    for (int x = 0; x < bmp.Width; ++x)
      FUZZ_EXPECT(row[x] < colours, "every index names a palette entry");
  }
}

bool SameBitmap(const ImageBitmap& a, const ImageBitmap& b) {
  return a.Width == b.Width && a.Height == b.Height && a.BitsPerPixel == b.BitsPerPixel &&
         a.Pixels.cacheKey() == b.Pixels.cacheKey();
}

// The readers' results on one file; false when no format was found in it.
bool ReadPicture(const QString& file, int bits) {
  FileInfo info;
  const int infoResult = GetImageFileInfo(file, info);
  if (infoResult == ERROR_FILE_FORMAT) return false;
  if (infoResult == SUCCESS) {
    FUZZ_EXPECT(info.Format != FILE_UNKNOWN, "a read header names its format");
    FUZZ_EXPECT(info.Width > 0 && info.Height > 0, "a read header gives a size");
  }

  // A bitmap that already holds a picture at the asked depth: a failed load keeps it.
  ImageBitmap bmp;
  if (bits != 0)
    FUZZ_EXPECT(CreateBitmap(bmp, 1, 1, 1, bits, ColorOrder::Bgr, nullptr, TopLeft) == SUCCESS,
                "a 1 x 1 bitmap can be made");
  const ImageBitmap before = bmp;
  if (LoadBitmapFile(file, bmp) == SUCCESS) {
    ExpectWholeBitmap(bmp);
    FUZZ_EXPECT(bits == 0 || bmp.BitsPerPixel == bits, "a load gives the asked depth");
  } else {
    FUZZ_EXPECT(SameBitmap(bmp, before), "a failed load leaves the bitmap as it was");
  }

  ImageBitmap whole;
  if (LoadPictureFile(file, whole) == SUCCESS)
    ExpectWholeBitmap(whole);
  else
    FUZZ_EXPECT(!whole.hasPixels() && whole.isEmpty(), "a failed load leaves an empty bitmap");
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // One decoding thread: the machine is shared and a crash is easier to follow.
  setenv("MAGICK_THREAD_LIMIT", "1", 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int bits = kDepths[size % std::size(kDepths)];
  const std::string path = WriteScratchFile("picture", data, size);
  if (!ReadPicture(QFile::decodeName(path.c_str()), bits)) {
    for (const char* extension : kExtensionFormats) {
      const std::string named = path + "." + extension;
      std::rename(path.c_str(), named.c_str());
      ReadPicture(QFile::decodeName(named.c_str()), bits);
      std::rename(named.c_str(), path.c_str());
    }
  }
  std::remove(path.c_str());
  return 0;
}
