#include "web/TransferState.h"

TransferState::Snapshot TransferState::take() {
  const std::lock_guard lock(m_mutex);
  Snapshot copy = m_state;
  m_state.problems.clear();
  return copy;
}

void TransferState::action(const QString& text) {
  const std::lock_guard lock(m_mutex);
  m_state.action = text;
}

void TransferState::totals(int files, qint64 bytes) {
  const std::lock_guard lock(m_mutex);
  m_state.files = files;
  m_state.bytes = bytes;
}

void TransferState::filesDone(int files) {
  const std::lock_guard lock(m_mutex);
  m_state.filesDone = files;
}

void TransferState::bytesDone(qint64 total, qint64 fileBytes, qint64 fileSize) {
  const std::lock_guard lock(m_mutex);
  m_state.bytesDone = total;
  m_state.fileBytes = fileBytes;
  m_state.fileSize = fileSize;
}

void TransferState::fileEnded() {
  const std::lock_guard lock(m_mutex);
  m_state.fileSize = -1;
}

void TransferState::problem(const QString&, const QString& text) {
  const std::lock_guard lock(m_mutex);
  if (!m_state.problems.contains(text)) m_state.problems.append(text);
}
