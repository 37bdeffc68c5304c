#include "controls/CFilePreview.h"

#include <QMouseEvent>

#include "controls/ProgramCursors.h"
#include "library/PreviewDecoder.h"

namespace {
constexpr int kHandCursor = 172;
}

CFilePreview::CFilePreview(int side, QWidget* parent) : CPicturePreview(parent) {
  setDisplayMode(Fit);
  setFixedSize(side, side);
  m_decoder = new PreviewDecoder(QSize(side, side), this);
  connect(m_decoder, &PreviewDecoder::previewReady, this, [this] {
    setPicture(&m_decoder->preview());
    setCursor(ProgramCursor(kHandCursor));
  });
  connect(m_decoder, &PreviewDecoder::fullReady, this, [this](const QString& path) {
    emit fullReady(path);
    if (m_viewWhenDecoded) {
      m_viewWhenDecoded = false;
      emit viewRequested(path);
    }
  });
  connect(m_decoder, &PreviewDecoder::failed, this, [this](const QString& path) {
    m_viewWhenDecoded = false;
    showNothing();
    emit failed(path);
  });
  showNothing();
}

CFilePreview::~CFilePreview() { setPicture(nullptr); }

void CFilePreview::showFile(const QString& path) {
  if (path == m_file) return;
  m_file = path;
  m_viewWhenDecoded = false;
  showNothing();
  if (path.isEmpty()) m_decoder->clear();
  else m_decoder->request(path);
}

void CFilePreview::showNothing() {
  setPicture(nullptr);
  setCursor(Qt::ForbiddenCursor);
}

void CFilePreview::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_decoder->hasPreview()) return;
  if (m_decoder->hasFull()) emit viewRequested(m_file);
  else m_viewWhenDecoded = true;
}
