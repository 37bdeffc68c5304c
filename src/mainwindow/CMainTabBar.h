#pragma once

#include <QList>
#include <QPixmap>
#include <QTabBar>

// The owner-drawn bar of the main tabs: each tab shows its picture at its own size, 3
// pixels right of the tab's left edge and 3 pixels below the bar's top, and its text 8
// pixels right of the picture, a third of the tab's height below its top.
class CMainTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit CMainTabBar(QWidget* parent = nullptr);

  // One picture per tab; a null picture leaves only the text.
  void setPictures(QList<QPixmap> pictures);

 protected:
  QSize tabSizeHint(int index) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture(int index) const;

  QList<QPixmap> m_pictures;
};
