#include "getphoto/PhotoFileTypes.h"

const QList<PhotoFileType>& PhotoFileTypes() {
  static const QList<PhotoFileType> types = {
      {"Common Formats (*gif;*.bmp;*.jpg;*.png)", "*.gif;*.jpg;*.bmp;*.png"},
      {"ALL (*.*)", "*.*"},
      {"MS Fax (*.awd)", "*.awd"},
      {"Bitmap Windows & OS/2 (*.bmp)", "*.bmp"},
      {"CALS Raster (*.cal)", "*.cal"},
      {"LEAD (*.cmp)", "*.cmp"},
      {"Windows Cursor (*.cur)", "*.cur"},
      {"DICOM DIC (*.dic)", "*.dic"},
      {"PostScript Raster (*.eps)", "*.eps"},
      {"WinFax (*.fxs)", "*.fxs"},
      {"GIF (*.gif)", "*.gif"},
      {"IOCA - Fax (*.ica)", "*.ica"},
      {"Windows Icon (*.ico)", "*.ico"},
      {"GEM Image (*.img)", "*.img"},
      {"JPEG (*.jpg;*.jff;*.jtf)", "*.jpg;*.jpeg;*.jff;*.jtf"},
      {"MacPaint (*.mac)", "*.mac"},
      {"MS Paint (*.msp)", "*.msp"},
      {"Photo CD (*.pcd)", "*.pcd"},
      {"Mac Picture (*.pct)", "*.pct"},
      {"PCX (*.pcx)", "*.pcx"},
      {"CompuServe PNG (*.png)", "*.png"},
      {"PhotoShop (*.psd)", "*.psd"},
      {"SUN Raster (*.ras)", "*.ras"},
      {"TARGA (*.tga)", "*.tga"},
      {"TIF (*.tif)", "*.tif"},
      {"Exif (*.tif;*.jpg)", "*.tif;*.jpg"},
      {"Windows Metafile (*.wmf)", "*.wmf"},
      {"WordPerfect (*.wpg)", "*.wpg"},
  };
  return types;
}

QStringList SplitPatterns(const QString& pattern) {
  QStringList patterns;
  for (const QString& part : pattern.split(';', Qt::SkipEmptyParts)) {
    const QString trimmed = part.trimmed();
    if (trimmed.isEmpty()) continue;
    // "*.*" also matched names without a dot on the system these patterns come from.
    patterns.append(trimmed == "*.*" ? QStringLiteral("*") : trimmed);
  }
  return patterns;
}
