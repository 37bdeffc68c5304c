// Writes the corpus files that the program's own writers make: pictures of the formats only our
// codecs write, JPEGs with descriptions, settings files and built shows. make-seeds.sh
// runs it and adds what ImageMagick and exiftool make.
//   fuzz_seed_writer CORPUS_FOLDER

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "fil/ltfil.h"
#include "shows/ShowBuild.h"
#include "system/Profile.h"
#include "system/RegistryStore.h"

namespace {
bool failed = false;

void Expect(bool ok, const QString& what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_seed_writer: cannot write %s\n", qPrintable(what));
  failed = true;
}

// A small picture with a few colours, so that every depth has something to keep.
ImageBitmap Picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x ^ y) & 1 ? 200 : 40));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

void Save(const QString& file, int format, int bits, const QString& description = {}) {
  Expect(SaveImageFile(file, Picture(8, 6), format, bits, 20,
                       SaveComments::Description(description)) == SUCCESS,
         file);
}

void WritePictures(const QString& folder) {
  Save(folder + "jpeg-444.jpg", FILE_JPEG, 24);
  Save(folder + "jpeg-420-grey.jpg", FILE_JPEG_411, 8);
  Save(folder + "msp-2.msp", FILE_MSP, 1);
  Save(folder + "gem.img", FILE_GEM_IMG, 1);
}

void WriteDescribed(const QString& folder) {
  Save(folder + "all-three.jpg", FILE_JPEG_411, 24, QString::fromUtf8("Beach at dusk — 写真"));
  Save(folder + "long.jpg", FILE_JPEG, 8, QString(300, 'd'));
  Save(folder + "described.png", FILE_PNG, 24, "A PNG described through Exiv2");
  Save(folder + "described.tif", FILE_TIF, 24, "A TIFF described through Exiv2");
}

void WriteSettings(const QString& folder) {
  const QString ini = folder + "quendal.ini";
  Expect(WriteProfileString(ini, "Settings", "UserId", "anna"), ini);
  Expect(WriteProfileString(ini, "Settings", "FileList", "59410"), ini);
  Expect(WriteProfileString(ini, "Settings", "EmailServer", "  smtp.example.com "), ini);
  Expect(WriteProfileString(ini, "Save As", "Folder", "\"/home/anna/My Pictures\""), ini);
  RegistryStore registry(folder + "registry.ini");
  Expect(registry.setValue("Control Panel\\Desktop", "SCRNSAVE.EXE", "/home/anna/Beach.scr"),
         registry.file());
  Expect(registry.setValue("Control Panel\\Desktop", "ScreenSaveActive", "1"), registry.file());
  Expect(registry.setValue("Software\\Brivane", "", "default value"), registry.file());
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  Expect(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), path);
}

// Shows built by the real builder from a program folder of tiny stand-ins.
void WriteShows(const QString& folder) {
  QTemporaryDir work;
  const QString programs = work.filePath("program/");
  const QString photos = work.filePath("photos/");
  QDir().mkpath(programs);
  QDir().mkpath(photos);
  for (const char* file : {"mirrant", "pavonel", "corilan", "lfcmp10n.dll", "ltdis10n.dll",
                           "ltfil10n.dll", "ltkrn10n.dll", "ltefx10n.dll"})
    WriteFile(programs + file, QByteArray(file) + " stand-in\n");
  for (const char* stem : {"Beach", "Dog"})
    WriteFile(photos + stem + ".jpg", "\xff\xd8 photo \xff\xd9");

  const auto build = [&](ShowKind kind, const QString& name, const QStringList& stems) {
    ShowBuildRequest request;
    request.Kind = kind;
    request.ProgramFolder = programs;
    request.PhotoFolder = photos;
    request.PhotoStems = stems;
    request.Name = name;
    request.Folder = work.filePath("shows/");
    const ShowBuildResult result = BuildShow(request, nullptr);
    Expect(result.Result == kShowBuilt, name);
    QFile::remove(folder + QFileInfo(result.Target).fileName());
    Expect(QFile::copy(result.Target, folder + QFileInfo(result.Target).fileName()), name);
  };
  build(ShowKind::SlideShow, "slides", {"Beach", "Dog"});
  build(ShowKind::ScreenSaver, "saver", {"Dog"});
  // A photo that cannot be read is appended as an empty piece.
  build(ShowKind::SlideShow, "missing-photo", {"Beach", "Gone", "Beach"});
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seed_writer CORPUS_FOLDER\n");
    return 2;
  }
  const QString corpus = QFile::decodeName(argv[1]) + "/";
  for (const char* target : {"pictures", "metadata", "settings", "showtrailer"})
    QDir().mkpath(corpus + target);
  WritePictures(corpus + "pictures/");
  WriteDescribed(corpus + "metadata/");
  WriteSettings(corpus + "settings/");
  WriteShows(corpus + "showtrailer/");
  return failed ? 1 : 0;
}
