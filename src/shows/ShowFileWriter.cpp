#include "shows/ShowFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {
constexpr qint64 kBufferSize = 4 << 20;

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool WriteAll(int fd, const char* bytes, qint64 size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, bytes, static_cast<size_t>(size));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    size -= done;
  }
  return true;
}

void AppendInteger(QByteArray& bytes, qint32 value) {
  char little[4];
  qToLittleEndian(value, little);
  bytes.append(little, sizeof little);
}
}  // namespace

ShowFileWriter::ShowFileWriter(QFile& target) : m_target(target), m_size(target.size()) {
  m_target.flush();
}

bool ShowFileWriter::Fits(qint64 more) {
  if (m_size + more <= kMaxSize) return true;
  m_tooLarge = true;
  m_error = QStringLiteral("the show would be larger than %1 bytes, more than a show file can hold")
                .arg(kMaxSize);
  return false;
}

// The kernel copies between the files where it can; a bounded buffer does otherwise.
bool ShowFileWriter::CopyFrom(QFile& source) {
  const int from = source.handle();
  const int to = m_target.handle();
  std::unique_ptr<char[]> buffer;
  for (;;) {
    // A source that grows while it is copied must still fit.
    const qint64 room = kMaxSize - m_size;
    qint64 got = -1;
    if (!buffer) {
      got = copy_file_range(from, nullptr, to, nullptr,
                            static_cast<size_t>(qMin(room + 1, qint64(1) << 30)), 0);
      if (got < 0 && errno != EINTR) buffer.reset(new char[kBufferSize]);
      if (got < 0) continue;
    } else {
      got = ::read(from, buffer.get(), static_cast<size_t>(kBufferSize));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        m_error = QStringLiteral("cannot read '%1': %2").arg(source.fileName(), SystemError());
        return false;
      }
      if (got > 0 && got <= room && !WriteAll(to, buffer.get(), got)) {
        m_error = QStringLiteral("cannot write '%1': %2").arg(m_target.fileName(), SystemError());
        return false;
      }
    }
    if (got == 0) return true;
    if (!Fits(got)) return false;
    m_size += got;
  }
}

bool ShowFileWriter::WriteHead(const QString& launcher) {
  QFile head(launcher);
  if (!head.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    m_error =
        QStringLiteral("cannot read the show launcher '%1': %2").arg(launcher, head.errorString());
    return false;
  }
  return Fits(head.size()) && CopyFrom(head);
}

bool ShowFileWriter::Append(const QString& source, qint32& offset) {
  if (!Fits(0)) return false;
  offset = static_cast<qint32>(m_size);
  QFile piece(source);
  if (!piece.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return true;
  if (!Fits(piece.size()) || !CopyFrom(piece)) return false;
  // The disk starts writing each piece while the next is copied, so the sync that makes
  // the show durable has little left to wait for.
  sync_file_range(m_target.handle(), offset, m_size - offset, SYNC_FILE_RANGE_WRITE);
  return true;
}

QByteArray ShowFileWriter::Trailer(const QList<qint32>& header, const QList<qint32>& photoOffsets) {
  QByteArray bytes;
  bytes.reserve(4 * (header.size() + photoOffsets.size() + 1));
  for (const qint32 value : header) AppendInteger(bytes, value);
  for (const qint32 value : photoOffsets) AppendInteger(bytes, value);
  AppendInteger(bytes, static_cast<qint32>(photoOffsets.size()));
  return bytes;
}

bool ShowFileWriter::WriteTrailer(const QList<qint32>& header, const QList<qint32>& photoOffsets) {
  const QByteArray trailer = Trailer(header, photoOffsets);
  if (!Fits(trailer.size())) return false;
  if (!WriteAll(m_target.handle(), trailer.constData(), trailer.size())) {
    m_error = QStringLiteral("cannot write '%1': %2").arg(m_target.fileName(), SystemError());
    return false;
  }
  m_size += trailer.size();
  return true;
}
