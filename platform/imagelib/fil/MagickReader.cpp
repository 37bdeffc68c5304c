#include "fil/MagickReader.h"

#include <cstring>
#include <memory>

#include "fil/MagickProgress.h"
#include "fil/MagickRuntime.h"
#include "krn/ResultCodes.h"

namespace {
struct ImageInfoFree {
  void operator()(MagickCore::ImageInfo* info) const { MagickCore::DestroyImageInfo(info); }
};
struct ExceptionFree {
  void operator()(MagickCore::ExceptionInfo* e) const { MagickCore::DestroyExceptionInfo(e); }
};
struct ImageListFree {
  void operator()(MagickCore::Image* list) const { MagickCore::DestroyImageList(list); }
};
using ImageList = std::unique_ptr<MagickCore::Image, ImageListFree>;

// Takes the wanted frame out of the list; the rest is freed with the list.
MagickCore::Image* TakeFrame(ImageList& list, MagickFrame frame) {
  MagickCore::Image* chosen = list.get();
  if (frame == MagickFrame::Largest) {
    for (MagickCore::Image* p = list.get(); p != nullptr; p = p->next)
      if (p->columns * p->rows > chosen->columns * chosen->rows) chosen = p;
  }
  MagickCore::Image* head = list.release();
  MagickCore::Image* taken = chosen;
  if (taken == head) head = head->next;
  MagickCore::RemoveImageFromList(&taken);
  list.reset(head != nullptr ? MagickCore::GetFirstImageInList(head) : nullptr);
  return chosen;
}

bool Mentions(const char* text, const char* part) {
  return text != nullptr && std::strstr(text, part) != nullptr;
}

// The result for the worst of what the coder reported. Magick++'s own conversion of
// this record frees it, so the record is read here directly.
int ResultOfException(const MagickCore::ExceptionInfo* exception) {
  using namespace MagickCore;
  const ExceptionType severity = exception->severity;
  if (severity == UndefinedException) return SUCCESS;
  // A remark that the data ended early (libtiff's "Premature EOF" inside CALS) means
  // the picture is cut short even when the coder carried on.
  if (severity < ErrorException)
    return severity == CorruptImageWarning || Mentions(exception->reason, "EOF") ||
                   Mentions(exception->reason, "end of file")
               ? ERROR_FILE_CORRUPT
               : SUCCESS;
  switch (severity) {
    case ResourceLimitError:
    case ResourceLimitFatalError:
    case CacheError:
    case CacheFatalError:
      return Mentions(exception->reason, "exceeds limit") ? ERROR_IMAGE_TOO_LARGE : ERROR_NO_MEMORY;
    case MissingDelegateError:
    case PolicyError:
      return ERROR_FORMAT_NO_READER;
    default:
      return ERROR_FILE_CORRUPT;
  }
}
}  // namespace

int MagickReadBlob(const void* data, std::size_t size, const char* coder, bool ping,
                   MagickFrame frame, Magick::Image& image, ProgressSpan progress) {
  EnsureMagick();
  try {
    std::unique_ptr<MagickCore::ImageInfo, ImageInfoFree> info(MagickCore::AcquireImageInfo());
    std::unique_ptr<MagickCore::ExceptionInfo, ExceptionFree> exception(
        MagickCore::AcquireExceptionInfo());
    if (!info || !exception) return ERROR_NO_MEMORY;
    // The coder named in the file name with affirm set: Magick never guesses another.
    MagickCore::CopyMagickString(info->magick, coder, MaxTextExtent);
    MagickCore::FormatLocaleString(info->filename, MaxTextExtent, "%s:", coder);
    info->affirm = MagickCore::MagickTrue;
    info->ping = ping ? MagickCore::MagickTrue : MagickCore::MagickFalse;
    if (frame == MagickFrame::First) {
      info->scene = 0;
      info->number_scenes = 1;
    }
    MagickProgress monitor(progress);
    if (!ping) monitor.Watch(info.get());
    ImageList list(MagickCore::BlobToImage(info.get(), data, size, exception.get()));
    if (monitor.Stopped()) return ERROR_USER_ABORT;
    const int rc = ResultOfException(exception.get());
    if (rc != SUCCESS) return rc;
    if (!list) return ERROR_FILE_CORRUPT;
    MagickCore::Image* chosen = TakeFrame(list, frame);
    if (chosen->columns == 0 || chosen->rows == 0) {
      MagickCore::DestroyImage(chosen);
      return ERROR_FILE_CORRUPT;
    }
    image = Magick::Image(chosen);
    return SUCCESS;
  } catch (...) {
    return MagickErrorResult(std::current_exception(), false);
  }
}
