#include "library/SavePictureAs.h"

#include <QFileInfo>

#include "fil/ltfil.h"

QString SaveAsFilter() {
  static const char* const kEntries[] = {
      "ALL (*.*)|*.*|",
      "MS Fax (*.awd)|*.awd|",
      "Bitmap Windows & OS/2 (*.bmp)|*.bmp|",
      "CALS Raster (*.cal)|*.cal|",
      "LEAD (*.cmp)|*.cmp|",
      "Windows Cursor (*.cur)|*.cur|",
      "DICOM DIC (*.dic)|*.dic|",
      "PostScript Raster (*.eps)|*.eps|",
      "WinFax (*.fxs)|*.fxs|",
      "GIF (*.gif)|*.gif|",
      "GEM Image (*.img)|*.img|",
      "Windows Icon (*.ico)|*.ico|",
      "IOCA - Fax (*.ica)|*.ica|",
      "JPEG (*.jpg;*.jff;*.jtf)|*.jpg;*.jff;*.jtf|",
      "MacPaint (*.mac)|*.mac|",
      "MS Paint (*.msp)|*.msp|",
      "Mac Picture (*.pct)|*.pct|",
      "PCX (*.pcx)|*.pcx|",
      "CompuServe PNG (*.png)|*.png|",
      "PhotoShop (*.psd)|*.psd|",
      "SUN Raster (*.ras)|*.ras|",
      "TARGA (*.tga)|*.tga|",
      "TIF (*.tif)|*.tif|",
      "Exif (*.tif;*.jpg)|*.tif;*.jpg|",
      "Windows Metafile (*.wmf)|*.wmf|",
      "WordPerfect (*.wpg)|*.wpg|",
  };
  QString filter;
  for (const char* entry : kEntries) filter += QString::fromLatin1(entry);
  return filter;
}

QString WithDefaultExtension(const QString& path) {
  if (QFileInfo(path).fileName().contains(QLatin1Char('.'))) return path;
  return path + QLatin1String(".jpg");
}

SaveAsSettings SaveAsSettingsFor(const QString& path, int ownBitsPerPixel) {
  SaveAsSettings settings;
  settings.Path = path;
  settings.Format = FormatForExtension(FileExtension(QFileInfo(path).fileName()));
  if (settings.Format == FILE_JPEG)
    settings.BitsPerPixel = 24;
  else if (settings.Format == FILE_GIF)
    settings.BitsPerPixel = 8;
  else
    settings.BitsPerPixel = ownBitsPerPixel;
  settings.PaletteOption = ownBitsPerPixel < 5 ? 1 : 2;
  return settings;
}

int SavePictureAs(const SaveAsSettings& settings, const ImageBitmap& picture) {
  // Without comments: what the library's comment table holds belongs to whichever store
  // runs at the same time, not to this picture.
  return SaveImageFileAs(settings.Path, picture, settings.Format, settings.BitsPerPixel,
                         settings.QualityFactor, settings.PaletteOption, SaveComments());
}
