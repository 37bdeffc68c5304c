#include "fil/FormatTable.h"

#include <array>
#include <climits>

#include "fil/FileFormats.h"

namespace {
constexpr unsigned kPalette = DepthBit(1) | DepthBit(4) | DepthBit(8);
constexpr int kNoLimit = INT_MAX;

// Read and write support and depths as found with Magick 6.9 here: PCX keeps a palette
// of 256 entries (1 bit only for black and white), PICT reads back as true colour,
// Magick cannot read back the indexed PSD it writes nor the colours of a PSD with alpha,
// so PSD is grey or true colour.
constexpr std::array kFormats{
    FormatTraits{FILE_PCX, "PCX", "PCX", Codec::Magick, Codec::Magick,
                 DepthBit(1) | DepthBit(8) | DepthBit(24), 65535, 65535},
    // GIF is always written with 8 bits: a picture of few colours keeps them exactly.
    FormatTraits{FILE_GIF, "GIF", "GIF", Codec::Magick, Codec::Magick, DepthBit(8), 65535, 65535},
    FormatTraits{FILE_TGA, "TARGA", "TGA", Codec::Magick, Codec::Magick, kAllDepths, 65535, 65535},
    FormatTraits{FILE_LEAD_CMP, "LEAD CMP", nullptr, Codec::None, Codec::None, 0, 0, 0},
    FormatTraits{FILE_BMP, "BMP", "BMP", Codec::Magick, Codec::Magick, kAllDepths, kNoLimit,
                 kNoLimit},
    FormatTraits{FILE_JPEG, "JPEG", nullptr, Codec::Jpeg, Codec::Jpeg, DepthBit(8) | DepthBit(24),
                 65500, 65500},
    FormatTraits{FILE_WMF, "Windows Metafile", "WMF", Codec::Magick, Codec::None, 0, 0, 0},
    // Reading PostScript needs Ghostscript, which Debian's Magick policy forbids.
    FormatTraits{FILE_EPS, "PostScript Raster", nullptr, Codec::None, Codec::Eps,
                 DepthBit(1) | DepthBit(8) | DepthBit(24), kNoLimit, kNoLimit},
    FormatTraits{FILE_TIF, "TIFF", "TIFF", Codec::Magick, Codec::Magick, kAllDepths, kNoLimit,
                 kNoLimit},
    FormatTraits{FILE_JPEG_411, "JPEG 4:2:0", nullptr, Codec::Jpeg, Codec::Jpeg,
                 DepthBit(8) | DepthBit(24), 65500, 65500},
    FormatTraits{FILE_CALS, "CALS Raster", "CALS", Codec::Magick, Codec::Magick, DepthBit(1),
                 kNoLimit, kNoLimit},
    FormatTraits{FILE_MAC, "MacPaint", "MAC", Codec::Magick, Codec::None, 0, 0, 0},
    FormatTraits{FILE_GEM_IMG, "GEM Image", nullptr, Codec::GemImg, Codec::GemImg, DepthBit(1),
                 32767, 32767},
    FormatTraits{FILE_MSP, "MS Paint", nullptr, Codec::Msp, Codec::Msp, DepthBit(1), 65535, 65535},
    FormatTraits{FILE_WPG, "WordPerfect", "WPG", Codec::Magick, Codec::None, 0, 0, 0},
    FormatTraits{FILE_RAS, "SUN Raster", "SUN", Codec::Magick, Codec::Magick, kAllDepths, kNoLimit,
                 kNoLimit},
    // A PICT row holds at most 16383 bytes, four a pixel as Magick writes true colour.
    FormatTraits{FILE_PCT, "Mac Picture", "PICT", Codec::Magick, Codec::Magick,
                 kPalette | DepthBit(24), 4095, 32767},
    FormatTraits{FILE_WINFAX, "WinFax", nullptr, Codec::None, Codec::None, 0, 0, 0},
    FormatTraits{FILE_ICA, "IOCA Fax", nullptr, Codec::None, Codec::None, 0, 0, 0},
    FormatTraits{FILE_PNG, "PNG", "PNG", Codec::Magick, Codec::Magick, kAllDepths, kNoLimit,
                 kNoLimit},
    FormatTraits{FILE_PSD, "PhotoShop", "PSD", Codec::Magick, Codec::Magick,
                 DepthBit(8) | DepthBit(24), 30000, 30000},
    FormatTraits{FILE_DICOM, "DICOM", "DCM", Codec::Magick, Codec::None, 0, 0, 0},
    FormatTraits{FILE_ICO, "Windows Icon", "ICO", Codec::Magick, Codec::Magick, kAllDepths, 256,
                 256},
    FormatTraits{FILE_CUR, "Windows Cursor", "CUR", Codec::Magick, Codec::Magick, kAllDepths, 256,
                 256},
    FormatTraits{FILE_AWD, "MS Fax", nullptr, Codec::None, Codec::None, 0, 0, 0},
};
}  // namespace

const FormatTraits* FindFormat(int format) {
  for (const FormatTraits& traits : kFormats)
    if (traits.Code == format) return &traits;
  return nullptr;
}

int NearestDepth(const FormatTraits& traits, int bitsPerPixel) {
  static constexpr int kDepths[] = {1, 4, 8, 24, 32};
  if (traits.Depths & DepthBit(bitsPerPixel)) return bitsPerPixel;
  for (int depth : kDepths)
    if (depth > bitsPerPixel && (traits.Depths & DepthBit(depth))) return depth;
  for (int i = int(std::size(kDepths)) - 1; i >= 0; --i)
    if (kDepths[i] < bitsPerPixel && (traits.Depths & DepthBit(kDepths[i]))) return kDepths[i];
  return 0;
}
