#pragma once

#include <QWidget>

#include "labels/PageLayout.h"
#include "labels/ScaledPictureCache.h"
#include "labels/TemplatePagePainter.h"

struct LabelTemplate;
class PageCells;

// A page of labels or album places on screen: the letter page stretched over the view,
// its cells framed, the selected one framed thick, each cell's picture fitted into it.
// Click selects, double-click, Enter and Space ask for a photo, the arrows, Home and End
// move the selection, Delete asks to empty the cell, the right button asks for the
// page's menu, and a picture dragged onto another cell asks to move there. The page's
// owner keeps the cells and carries out what the view asks.
class PageView : public QWidget {
  Q_OBJECT

 public:
  // The resolution the page is laid out at, whatever the screen reports.
  static constexpr int kLayoutDpi = 96;

  explicit PageView(QWidget* parent = nullptr);

  // What the view shows; both stay the owner's and must outlive the view's use of them.
  // A new template starts with no selection.
  void setPage(const LabelTemplate* pageTemplate, const PageCells* cells);
  const LabelTemplate* pageTemplate() const { return m_template; }

  // Forgets the selection and the click: the first cell is selected again.
  void resetSelection();
  // -1 when no cell is selected.
  int selectedCell() const { return m_state.SelectedCell; }
  // Selects the cell as a click in it would.
  void selectCell(int cell);
  // Moves the selection as the key does (the arrows at a row's end change rows).
  void moveSelection(PageMove move);
  // Lays the page out again and repaints it: after its cells or pictures changed.
  void refresh();

  const PageViewState& state() const { return m_state; }
  const std::vector<CellPlace>& places() const { return m_state.Places; }
  // Hands over a cell picture's copy reduced for the screen (made where it was decoded),
  // so that its first drawing is quick.
  void addReducedPicture(const std::shared_ptr<ImageBitmap>& picture, ImageBitmap reduced);

 signals:
  void pickPhotoRequested();
  void deleteRequested();
  void menuRequested(QPoint globalPos);
  // A picture was dragged from one cell and dropped on another.
  void pictureMoved(int from, int to);
  void selectionChanged(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  PageDevice device() const;
  // Lays out and selects the cell under the click point; reports a changed selection.
  void layOut();
  void clickAt(QPoint point);
  void updateCursor(QPoint point);

  const LabelTemplate* m_template = nullptr;
  const PageCells* m_cells = nullptr;
  PageViewState m_state;
  ScaledPictureCache m_cache;
};
