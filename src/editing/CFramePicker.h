#pragma once

#include <QImage>
#include <QWidget>

#include "photoedits/FrameComposite.h"
#include "photoedits/FrameFolder.h"
#include "krn/ltkrn.h"

class CPictureListBox;
class CPicturePreview;
class DeviceContext;
class PhotoListModel;
class QLabel;

// The frame chooser that the Frame dialog and the wizard's frame page share: the list of
// a folder's frames (1018), the hint (1038), the preview (1006) with the photo behind the
// chosen frame, dragged and zoomed by the user, and Zoom In (1177) and Zoom Out (1178).
// The preview works on a copy reduced for the screen; the framed picture is made from the
// whole photo.
class CFramePicker : public QWidget {
  Q_OBJECT

 public:
  explicit CFramePicker(HoleFill fill, QWidget* parent = nullptr);
  ~CFramePicker() override;

  // Lists the folder's frames and selects the first.
  void setFolder(const QString& folder);
  const QString& folder() const { return m_folder; }
  void setHint(const QString& text);
  // The photo to frame; a copy is kept (its pixels shared).
  void setPhoto(const ImageBitmap& photo);
  // Whether a frame is loaded.
  bool hasFrame() const { return m_frame.hasPixels(); }
  const ImageBitmap& frame() const { return m_frame; }
  // Where the photo sits, as the preview shows it now.
  FrameView view() const;
  const ImageBitmap& photo() const { return m_photo; }

  CPictureListBox* frameList() const { return m_list; }
  CPicturePreview* preview() const { return m_preview; }
  int frameCount() const;

 signals:
  void frameChanged();

 private:
  void loadSelectedFrame();
  void drawFrame(DeviceContext& dc, QSize client);

  HoleFill m_fill;
  QString m_folder;
  std::vector<FrameItem> m_items;
  ImageBitmap m_photo;
  ImageBitmap m_shown;
  ImageBitmap m_frame;
  QImage m_overlay;
  qint64 m_overlayKey = 0;

  PhotoListModel* m_model;
  CPictureListBox* m_list;
  QLabel* m_hint;
  CPicturePreview* m_preview;
};
