#pragma once

#include <QObject>
#include <QPoint>

class CPicturePreview;

// Dragging the picture in a preview with the mouse, as the crop and frame dialogs do: a
// press starts a drag from the centred position, moving pans the picture by the cursor's
// displacement from where the press was, and a release ends it. The cursor is the
// four-way arrow while dragging and the program's hand (153) otherwise.
class PreviewDrag : public QObject {
  Q_OBJECT

 public:
  explicit PreviewDrag(CPicturePreview* preview);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CPicturePreview* m_preview;
  bool m_dragging = false;
  QPoint m_start;
};
