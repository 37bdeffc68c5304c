#pragma once

#include <QString>

#include "controls/CPicturePreview.h"

class PreviewDecoder;

// The preview of a picture file on the wizard pages: decoded off the interface thread
// (a large JPEG at a reduced scale first), fitted, with the hand cursor while a picture is
// shown and the no-entry cursor otherwise. A click on a shown picture asks for it at full
// size, as soon as the full picture is decoded.
class CFilePreview : public CPicturePreview {
  Q_OBJECT

 public:
  // side: the preview's width and height.
  explicit CFilePreview(int side, QWidget* parent = nullptr);
  ~CFilePreview() override;

  // Shows that file ("" shows nothing); asking again for the file shown does nothing.
  void showFile(const QString& path);
  // The file last asked for.
  const QString& file() const { return m_file; }
  PreviewDecoder& decoder() const { return *m_decoder; }

 signals:
  void fullReady(const QString& path);
  void failed(const QString& path);
  // A click on the picture, once the whole of it is decoded.
  void viewRequested(const QString& path);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void showNothing();

  PreviewDecoder* m_decoder;
  QString m_file;
  bool m_viewWhenDecoded = false;
};
