#include "fil/ExivMetadata.h"

#include <QFileInfo>
#include <climits>
#include <mutex>
#include <string>

#include "fil/ExivInclude.h"
#include "fil/FileFormats.h"
#include "krn/ResultCodes.h"

namespace {
std::once_flag gExivOnce;
std::mutex gXmpMutex;

void LockXmp(void* data, bool lock) {
  auto* mutex = static_cast<std::mutex*>(data);
  if (lock)
    mutex->lock();
  else
    mutex->unlock();
}

// The XMP toolkit must be started once, with a lock, before threads use it.
void EnsureExiv() {
  std::call_once(gExivOnce, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(LockXmp, &gXmpMutex);
  });
}

int ExivTypeForFormat(int format) {
  switch (format) {
    case FILE_PNG:
      return Exiv2::ImageType::png;
    case FILE_TIF:
      return Exiv2::ImageType::tiff;
    case FILE_PSD:
      return Exiv2::ImageType::psd;
    default:
      return Exiv2::ImageType::none;
  }
}

// An absolute path, so Exiv2 never takes a name for a URL or for standard input.
std::string ExivPath(const QString& file) {
  return QFile::encodeName(QFileInfo(file).absoluteFilePath()).toStdString();
}

// Descriptions are cut to 255 characters, as the JPEG codec cuts them.
constexpr qsizetype kMaxDescription = 255;

QString FirstCharacters(const QString& text, qsizetype count) {
  const QList<uint> characters = text.toUcs4();
  if (characters.size() <= count) return text;
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), count);
}

QString Trimmed(const std::string& text) {
  std::string::size_type end = text.find('\0');
  return QString::fromUtf8(text.substr(0, end));
}
}  // namespace

bool ExivCanWriteDescription(int format) {
  const int type = ExivTypeForFormat(format);
  if (type == Exiv2::ImageType::none) return false;
  EnsureExiv();
  try {
    return Exiv2::ImageFactory::checkMode(type, Exiv2::mdExif) == Exiv2::amReadWrite &&
           Exiv2::ImageFactory::checkMode(type, Exiv2::mdXmp) == Exiv2::amReadWrite;
  } catch (...) {
    return false;
  }
}

int ExivWriteDescription(const QString& file, const QString& description) {
  EnsureExiv();
  try {
    auto image = Exiv2::ImageFactory::open(ExivPath(file));
    if (image.get() == nullptr) return ERROR_FILE_WRITE;
    image->readMetadata();
    const std::string text = FirstCharacters(description, kMaxDescription).toStdString();
    image->exifData()["Exif.Image.ImageDescription"] = text;
    Exiv2::LangAltValue alt;
    alt.value_["x-default"] = text;
    Exiv2::XmpData& xmp = image->xmpData();
    const Exiv2::XmpKey key("Xmp.dc.description");
    if (auto old = xmp.findKey(key); old != xmp.end()) xmp.erase(old);
    xmp.add(key, &alt);
    if (image->checkMode(Exiv2::mdComment) == Exiv2::amReadWrite) image->setComment(text);
    image->writeMetadata();
    return SUCCESS;
  } catch (...) {
    return ERROR_FILE_WRITE;
  }
}

int ExivReadDescription(const unsigned char* data, std::size_t size, QString& description) {
  EnsureExiv();
  try {
    if (size > std::size_t(LONG_MAX)) return ERROR_NO_COMMENT;
    auto image = Exiv2::ImageFactory::open(data, long(size));
    if (image.get() == nullptr) return ERROR_NO_COMMENT;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    if (auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.ImageDescription")); it != exif.end()) {
      const QString text = Trimmed(it->toString());
      if (!text.isEmpty()) {
        description = text;
        return SUCCESS;
      }
    }
    const Exiv2::XmpData& xmp = image->xmpData();
    if (auto it = xmp.findKey(Exiv2::XmpKey("Xmp.dc.description")); it != xmp.end()) {
      QString text;
      if (const auto* alt = dynamic_cast<const Exiv2::LangAltValue*>(&it->value())) {
        const auto found = alt->value_.find("x-default");
        if (found != alt->value_.end())
          text = Trimmed(found->second);
        else if (!alt->value_.empty())
          text = Trimmed(alt->value_.begin()->second);
      } else {
        text = Trimmed(it->toString());
      }
      if (!text.isEmpty()) {
        description = text;
        return SUCCESS;
      }
    }
    const QString comment = Trimmed(image->comment());
    if (!comment.isEmpty()) {
      description = comment;
      return SUCCESS;
    }
    return ERROR_NO_COMMENT;
  } catch (...) {
    return ERROR_NO_COMMENT;
  }
}
