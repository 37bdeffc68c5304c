#pragma once

// Passing Magick's progress on to the calling thread's progress callback, and its
// request to stop back to Magick.

#include <thread>

#include "fil/MagickInclude.h"
#include "fil/ProgressSpan.h"

class MagickProgress {
 public:
  explicit MagickProgress(ProgressSpan span);
  ~MagickProgress();
  MagickProgress(const MagickProgress&) = delete;
  MagickProgress& operator=(const MagickProgress&) = delete;

  // Watches a read through its options, or the work done on an image until destroyed
  // (which must come before the image's end).
  void Watch(MagickCore::ImageInfo* info);
  void Watch(Magick::Image& image);
  // Whether the callback asked to stop. Coders stop early without an error then, so
  // what they produced must be thrown away.
  bool Stopped() const { return stopped_; }

 private:
  static MagickCore::MagickBooleanType Monitor(const char* tag, MagickCore::MagickOffsetType done,
                                               MagickCore::MagickSizeType total, void* self);

  ProgressSpan span_;
  std::thread::id thread_;
  Magick::Image* image_ = nullptr;
  int last_ = -1;
  bool stopped_ = false;
};
