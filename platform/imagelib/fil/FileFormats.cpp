#include "fil/FileFormats.h"

#include <array>

#include "fil/FormatTable.h"
#include "fil/MagickRuntime.h"

namespace {
struct ExtensionEntry {
  const char* Extension;
  int Format;
};

// "jpeg" and "pcd" are left out on purpose: the program never offered them by extension.
constexpr std::array kExtensions{
    ExtensionEntry{"cmp", FILE_LEAD_CMP}, ExtensionEntry{"cal", FILE_CALS},
    ExtensionEntry{"img", FILE_GEM_IMG},  ExtensionEntry{"png", FILE_PNG},
    ExtensionEntry{"dic", FILE_DICOM},    ExtensionEntry{"tif", FILE_TIF},
    ExtensionEntry{"gif", FILE_GIF},      ExtensionEntry{"ica", FILE_ICA},
    ExtensionEntry{"jpg", FILE_JPEG},     ExtensionEntry{"jff", FILE_JPEG},
    ExtensionEntry{"jtf", FILE_JPEG},     ExtensionEntry{"pct", FILE_PCT},
    ExtensionEntry{"mac", FILE_MAC},      ExtensionEntry{"msp", FILE_MSP},
    ExtensionEntry{"awd", FILE_AWD},      ExtensionEntry{"pcx", FILE_PCX},
    ExtensionEntry{"psd", FILE_PSD},      ExtensionEntry{"eps", FILE_EPS},
    ExtensionEntry{"ras", FILE_RAS},      ExtensionEntry{"tga", FILE_TGA},
    ExtensionEntry{"wmf", FILE_WMF},      ExtensionEntry{"bmp", FILE_BMP},
    ExtensionEntry{"fxs", FILE_WINFAX},   ExtensionEntry{"wpg", FILE_WPG},
    ExtensionEntry{"ico", FILE_ICO},      ExtensionEntry{"cur", FILE_CUR},
};

bool CodecAvailable(Codec codec, const char* magickCoder, bool forWriting) {
  switch (codec) {
    case Codec::None:
      return false;
    case Codec::Magick:
      return forWriting ? MagickCanWrite(magickCoder) : MagickCanRead(magickCoder);
    default:
      return true;
  }
}
}  // namespace

QString FileExtension(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || dot < slash) return QString();
  return path.mid(dot + 1);
}

int FormatForExtension(const QString& extension) {
  for (const ExtensionEntry& entry : kExtensions)
    if (extension.compare(QLatin1String(entry.Extension), Qt::CaseInsensitive) == 0)
      return entry.Format;
  return FILE_UNKNOWN;
}

QString FormatExtension(int format) {
  if (format == FILE_JPEG_411) format = FILE_JPEG;
  for (const ExtensionEntry& entry : kExtensions)
    if (entry.Format == format) return QString::fromLatin1(entry.Extension);
  return QString();
}

QString FormatName(int format) {
  const FormatTraits* traits = FindFormat(format);
  return traits ? QString::fromLatin1(traits->Name) : QStringLiteral("Unknown");
}

bool CanReadFormat(int format) {
  const FormatTraits* traits = FindFormat(format);
  return traits && CodecAvailable(traits->Reader, traits->MagickCoder, false);
}

bool CanWriteFormat(int format) {
  const FormatTraits* traits = FindFormat(format);
  return traits && CodecAvailable(traits->Writer, traits->MagickCoder, true);
}
