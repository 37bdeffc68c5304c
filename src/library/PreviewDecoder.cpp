#include "library/PreviewDecoder.h"

#include <QMetaObject>

#include "cmp/JpegCodec.h"
#include "fil/FileFormats.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"

PreviewDecoder::PreviewDecoder(QSize previewSize, QObject* parent)
    : QObject(parent), m_previewSize(previewSize) {
  InitBitmap(m_preview, 0, 0, 0);
  InitBitmap(m_full, 0, 0, 0);
  m_worker = std::thread([this] { run(); });
}

PreviewDecoder::~PreviewDecoder() {
  {
    std::lock_guard guard(m_mutex);
    m_stopping = true;
    ++m_generation;
  }
  m_wake.notify_all();
  m_worker.join();
}

void PreviewDecoder::request(const QString& path) {
  quint64 generation;
  {
    std::lock_guard guard(m_mutex);
    generation = ++m_generation;
    m_pending = {path, generation};
    m_hasPending = true;
  }
  m_wake.notify_all();
  m_path = path;
  m_shownGeneration = generation;
  m_hasPreview = m_hasFull = m_done = false;
  FreeBitmap(m_preview);
  FreeBitmap(m_full);
}

void PreviewDecoder::clear() {
  {
    std::lock_guard guard(m_mutex);
    ++m_generation;
    m_hasPending = false;
  }
  m_path.clear();
  m_shownGeneration = 0;
  m_hasPreview = m_hasFull = false;
  m_done = true;
  FreeBitmap(m_preview);
  FreeBitmap(m_full);
}

ImageBitmap PreviewDecoder::takeFull() {
  ImageBitmap taken = std::move(m_full);
  InitBitmap(m_full, 0, 0, 0);
  m_hasFull = false;
  return taken;
}

bool PreviewDecoder::isCurrent(quint64 generation) {
  std::lock_guard guard(m_mutex);
  return !m_stopping && m_generation == generation;
}

void PreviewDecoder::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || m_hasPending; });
      if (m_stopping) return;
      job = m_pending;
      m_hasPending = false;
    }
    // A newer request or the end stops the library's decode at its next progress report.
    SetProgressCallback([this, generation = job.Generation](int) {
      return isCurrent(generation) ? 1 : 0;
    });
    decode(job);
    SetProgressCallback({});
  }
}

void PreviewDecoder::decode(const Job& job) {
  auto picture = std::make_shared<ImageBitmap>();
  InitBitmap(*picture, 0, 0, 0);
  FileInfo info;
  const int infoResult = GetImageFileInfo(job.Path, info);
  if (infoResult != SUCCESS) {
    deliver(job.Generation, nullptr, false, infoResult);
    return;
  }
  const bool jpeg = info.Format == FILE_JPEG || info.Format == FILE_JPEG_411;
  const bool reduced = jpeg &&
                       (info.Width > 2 * m_previewSize.width() ||
                        info.Height > 2 * m_previewSize.height());
  if (reduced) {
    const int result = DecodeJpegFileScaled(job.Path, *picture, 0, m_previewSize.width(),
                                            m_previewSize.height());
    if (result != SUCCESS) {
      deliver(job.Generation, nullptr, false, result);
      return;
    }
    deliver(job.Generation, picture, false, SUCCESS);
    if (!isCurrent(job.Generation)) return;
    picture = std::make_shared<ImageBitmap>();
    InitBitmap(*picture, 0, 0, 0);
  }
  const int result = LoadPictureFile(job.Path, *picture);
  deliver(job.Generation, result == SUCCESS ? picture : nullptr, true, result);
}

void PreviewDecoder::deliver(quint64 generation, std::shared_ptr<ImageBitmap> picture, bool full,
                             int result) {
  if (!isCurrent(generation)) return;
  QMetaObject::invokeMethod(
      this,
      [this, generation, picture = std::move(picture), full, result] {
        if (generation != m_shownGeneration) return;
        const QString path = m_path;
        if (!picture) {
          m_hasPreview = m_hasFull = false;
          m_done = true;
          FreeBitmap(m_preview);
          FreeBitmap(m_full);
          emit failed(path, result);
          return;
        }
        if (full) {
          m_full = std::move(*picture);
          m_hasFull = true;
          m_done = true;
          // Without a reduced step the full picture is the preview too.
          if (!m_hasPreview) {
            m_preview = m_full;
            m_hasPreview = true;
            emit previewReady(path);
          }
          emit fullReady(path);
        } else {
          m_preview = std::move(*picture);
          m_hasPreview = true;
          emit previewReady(path);
        }
      },
      Qt::QueuedConnection);
}
