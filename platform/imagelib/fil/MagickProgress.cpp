#include "fil/MagickProgress.h"

#include "krn/ltkrn.h"

MagickProgress::MagickProgress(ProgressSpan span)
    : span_(span), thread_(std::this_thread::get_id()) {}

MagickProgress::~MagickProgress() {
  // Whatever image the object holds now: operations may have replaced the watched one.
  if (image_ != nullptr) MagickCore::SetImageProgressMonitor(image_->image(), nullptr, nullptr);
}

void MagickProgress::Watch(MagickCore::ImageInfo* info) {
  MagickCore::SetImageInfoProgressMonitor(info, &MagickProgress::Monitor, this);
}

void MagickProgress::Watch(Magick::Image& image) {
  image.modifyImage();
  image_ = &image;
  MagickCore::SetImageProgressMonitor(image.image(), &MagickProgress::Monitor, this);
}

MagickCore::MagickBooleanType MagickProgress::Monitor(const char*,
                                                      MagickCore::MagickOffsetType done,
                                                      MagickCore::MagickSizeType total,
                                                      void* self) {
  auto* progress = static_cast<MagickProgress*>(self);
  // Magick's worker threads report too; the callback belongs to the caller's thread.
  if (std::this_thread::get_id() != progress->thread_) return MagickCore::MagickTrue;
  if (progress->stopped_) return MagickCore::MagickFalse;
  const int percent = progress->span_.At(qint64(done) + 1, qint64(total));
  if (percent == progress->last_) return MagickCore::MagickTrue;
  progress->last_ = percent;
  if (!ReportProgress(percent)) progress->stopped_ = true;
  return progress->stopped_ ? MagickCore::MagickFalse : MagickCore::MagickTrue;
}
