#include "fil/MagickRuntime.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "fil/MagickInclude.h"
#include "fil/MagickTempFolder.h"
#include "krn/PictureLimits.h"
#include "krn/ResultCodes.h"

namespace {
constexpr MagickCore::MagickSizeType kPanoramaWidth = 20000;

QString ModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&EnsureMagick), &info) == 0 || info.dli_fname == nullptr)
    return QString();
  return QFileInfo(QFile::decodeName(info.dli_fname)).canonicalPath();
}

// Done when the module is loaded, before the program starts threads: changing the
// environment while another thread reads it is not safe.
QString PointMagickAtOurPolicy() {
  if (std::getenv("MAGICK_CONFIGURE_PATH") != nullptr) return QString();
  const QString module = ModuleFolder();
  if (module.isEmpty()) return QString();
  const QString folder = module + QStringLiteral("/magick/");
  setenv("MAGICK_CONFIGURE_PATH", QFile::encodeName(folder).constData(), 0);
  return folder;
}

const QString gPolicyFolder = PointMagickAtOurPolicy();
std::once_flag gMagickOnce;

// The pixel cache of the largest picture the library takes: a pixel and its colour
// index at Magick's quantum depth.
constexpr MagickCore::MagickSizeType kLargestPixelCache =
    MagickCore::MagickSizeType(kPictureAreaLimit) *
    (sizeof(MagickCore::PixelPacket) + sizeof(MagickCore::IndexPacket));

// Lowers a limit to ours; a policy or the environment may have set it lower still.
void LimitTo(MagickCore::ResourceType type, MagickCore::MagickSizeType limit) {
  MagickCore::SetMagickResourceLimit(type,
                                     std::min(MagickCore::GetMagickResourceLimit(type), limit));
}

// The library's limits (krn/PictureLimits.h) for size; memory and mapped files each up
// to the cache of the largest such picture, disk up to twice that (the picture and a
// turned copy of it, as applying a TIFF orientation needs).
void SetMagickLimits() {
  using namespace MagickCore;
  LimitTo(WidthResource, MagickSizeType(kPictureSideLimit));
  LimitTo(HeightResource, MagickSizeType(kPictureSideLimit));
  LimitTo(AreaResource, MagickSizeType(kPictureAreaLimit));
  LimitTo(MemoryResource, kLargestPixelCache);
  LimitTo(MapResource, kLargestPixelCache);
  LimitTo(DiskResource, 2 * kLargestPixelCache);
  // No time limit: Magick 6 counts it from the process's first picture and, when it
  // runs out, ends the whole process with _exit(). One set in the environment is
  // lifted; only a policy file can still impose one.
  SetMagickResourceLimit(TimeResource, MagickResourceInfinity);
  if (GetMagickResourceLimit(TimeResource) != MagickResourceInfinity)
    qWarning("An ImageMagick policy limits its time: the program ends when that runs out");
}

MagickTempFolder& TempFolder() {
  static MagickTempFolder folder;
  return folder;
}

// Magick takes the folder from its registry before the environment ($TMPDIR).
void PointMagickAtTempFolder() {
  const QString& folder = TempFolder().path();
  if (folder.isEmpty()) {
    qWarning("No private folder for ImageMagick's temporary files: they go to $TMPDIR");
    return;
  }
  MagickCore::ExceptionInfo* exception = MagickCore::AcquireExceptionInfo();
  MagickCore::SetImageRegistry(MagickCore::StringRegistryType, "temporary-path",
                               QFile::encodeName(folder).constData(), exception);
  MagickCore::DestroyExceptionInfo(exception);
}

void StartMagick() {
  Magick::InitializeMagick(nullptr);
  if (!gPolicyFolder.isEmpty() &&
      MagickCore::GetMagickResourceLimit(MagickCore::WidthResource) < kPanoramaWidth)
    qWarning("ImageMagick did not take the policy in %s: large pictures will not load",
             qPrintable(gPolicyFolder));
  SetMagickLimits();
  PointMagickAtTempFolder();
}

bool RightsAllow(const char* coder, MagickCore::PolicyRights rights) {
  return MagickCore::IsRightsAuthorized(MagickCore::CoderPolicyDomain, rights, coder) !=
         MagickCore::MagickFalse;
}

bool CoderHas(const char* coder, bool writing) {
  if (coder == nullptr) return false;
  EnsureMagick();
  try {
    const Magick::CoderInfo info(coder);
    if (!(writing ? info.isWritable() : info.isReadable())) return false;
  } catch (...) {
    return false;
  }
  return RightsAllow(coder, writing ? MagickCore::WritePolicyRights : MagickCore::ReadPolicyRights);
}

bool Mentions(const char* text, const char* part) {
  return text != nullptr && std::strstr(text, part) != nullptr;
}
}  // namespace

void EnsureMagick() { std::call_once(gMagickOnce, StartMagick); }

QString MagickPolicyFolder() {
  EnsureMagick();
  return gPolicyFolder;
}

bool MagickAllowsSize(qint64 width, qint64 height) {
  EnsureMagick();
  using MagickCore::GetMagickResourceLimit;
  const auto limitOf = [](MagickCore::ResourceType type) {
    return static_cast<qint64>(std::min<MagickCore::MagickSizeType>(
        GetMagickResourceLimit(type), MagickCore::MagickSizeType(INT64_MAX)));
  };
  // Magick takes only what stays below each limit.
  return width > 0 && height > 0 && width < limitOf(MagickCore::WidthResource) &&
         height < limitOf(MagickCore::HeightResource) &&
         width * height < limitOf(MagickCore::AreaResource);
}

bool MagickCanRead(const char* coder) { return CoderHas(coder, false); }
bool MagickCanWrite(const char* coder) { return CoderHas(coder, true); }

int MagickErrorResult(std::exception_ptr error, bool writing) {
  const int noCodec = writing ? ERROR_FORMAT_NO_WRITER : ERROR_FORMAT_NO_READER;
  const int damaged = writing ? ERROR_FAILURE : ERROR_FILE_CORRUPT;
  try {
    std::rethrow_exception(error);
  } catch (const Magick::ErrorResourceLimit& e) {
    return Mentions(e.what(), "exceeds limit") ? ERROR_IMAGE_TOO_LARGE : ERROR_NO_MEMORY;
  } catch (const Magick::ErrorCache& e) {
    return Mentions(e.what(), "exceeds limit") ? ERROR_IMAGE_TOO_LARGE : ERROR_NO_MEMORY;
  } catch (const Magick::ErrorMissingDelegate&) {
    return noCodec;
  } catch (const Magick::ErrorPolicy&) {
    return noCodec;
  } catch (const std::bad_alloc&) {
    return ERROR_NO_MEMORY;
  } catch (...) {
    return damaged;
  }
}
