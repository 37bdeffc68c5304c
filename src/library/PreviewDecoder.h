#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <QObject>
#include <QSize>
#include <QString>

#include "krn/ImageBitmap.h"

// Decodes a picture for a preview off the interface thread, in two steps: a picture
// just large enough for the preview first (a JPEG decodes at a reduced scale in a
// fraction of the time), then the full picture that opening the file needs. Only the
// newest request counts: a newer one stops the decode in progress, so scrolling through a
// folder of large photos never queues work. Results arrive on the decoder's thread.
class PreviewDecoder : public QObject {
  Q_OBJECT

 public:
  // previewSize: the smallest size the preview picture must keep, when the file allows.
  explicit PreviewDecoder(QSize previewSize, QObject* parent = nullptr);
  // Stops a decode in progress and waits for the worker, which ends within a moment.
  ~PreviewDecoder() override;

  // Forgets the results of the last request and decodes path.
  void request(const QString& path);
  // Forgets the last request and its results.
  void clear();

  // The path of the last request, "" after clear().
  const QString& path() const { return m_path; }
  bool hasPreview() const { return m_hasPreview; }
  bool hasFull() const { return m_hasFull; }
  // Whether the last request is finished: failed, or decoded in full.
  bool isDone() const { return m_done; }
  const ImageBitmap& preview() const { return m_preview; }
  const ImageBitmap& full() const { return m_full; }
  // Hands over the full picture; hasFull() is false afterwards.
  ImageBitmap takeFull();

 signals:
  void previewReady(const QString& path);
  void fullReady(const QString& path);
  // The file does not decode (or vanished): nothing is shown and it cannot be opened.
  void failed(const QString& path, int result);

 private:
  struct Job {
    QString Path;
    quint64 Generation = 0;
  };
  void run();
  void decode(const Job& job);
  bool isCurrent(quint64 generation);
  void deliver(quint64 generation, std::shared_ptr<ImageBitmap> picture, bool full, int result);

  const QSize m_previewSize;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  Job m_pending;
  bool m_hasPending = false;
  bool m_stopping = false;
  quint64 m_generation = 0;  // of the newest request; guarded by m_mutex
  std::thread m_worker;

  // Interface-thread state.
  QString m_path;
  quint64 m_shownGeneration = 0;
  bool m_hasPreview = false;
  bool m_hasFull = false;
  bool m_done = true;
  ImageBitmap m_preview;
  ImageBitmap m_full;
};
