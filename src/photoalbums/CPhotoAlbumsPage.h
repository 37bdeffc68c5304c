#pragma once

#include "controls/CTabPage.h"

class FeatureHost;
class QTabWidget;

// The Photo Albums tab: the album chooser, the album's pages as vertical tabs around the
// page view, and the album and page buttons at the right.
class CPhotoAlbumsPage : public CTabPage {
  Q_OBJECT

 public:
  CPhotoAlbumsPage(FeatureHost& host, QWidget* content, QObject* parent);

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;
  bool onCommand(int command) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FeatureHost& m_host;
  QTabWidget* m_pages;
  QWidget* m_pageView;
};
