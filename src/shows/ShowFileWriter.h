#pragma once

#include <QFile>
#include <QList>
#include <QString>

// Writes a show file behind its launcher head: pieces appended whole and back to back,
// then the trailer of 32-bit little-endian offsets (six header offsets, the photo
// offsets, the photo count) that the launcher reads back. Every offset must fit the
// format's integers, so the file may not grow beyond 2^31 - 1 bytes.
class ShowFileWriter {
 public:
  static constexpr qint64 kMaxSize = 0x7fffffff;

  // The target, open for writing and empty; written through its handle from here on.
  explicit ShowFileWriter(QFile& target);

  // Copies the launcher to the start of the file. False when it cannot be read.
  bool WriteHead(const QString& launcher);
  // The append step: records the current length as the piece's offset, then copies the
  // source behind it. A source that cannot be read appends nothing (the launcher then
  // extracts an empty file) and still succeeds; false only when writing fails or the
  // file would outgrow the format.
  bool Append(const QString& source, qint32& offset);
  bool WriteTrailer(const QList<qint32>& header, const QList<qint32>& photoOffsets);

  // The trailer's bytes for these offsets.
  static QByteArray Trailer(const QList<qint32>& header, const QList<qint32>& photoOffsets);

  qint64 Size() const { return m_size; }
  const QString& Error() const { return m_error; }
  // Whether the failure was the format's size limit.
  bool TooLarge() const { return m_tooLarge; }

 private:
  bool CopyFrom(QFile& source);
  bool Fits(qint64 more);

  QFile& m_target;
  qint64 m_size = 0;
  QString m_error;
  bool m_tooLarge = false;
};
