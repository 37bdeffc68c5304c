#pragma once

#include "controls/CTabPage.h"
#include "web/PublishToWeb.h"

class CPhotoAlbumsPage;
class FeatureHost;

// The Publish to the Web tab: what publishing does, and the button that starts it.
class CPublishPage : public CTabPage {
  Q_OBJECT

 public:
  // Publishing sends the albums of the Photo Albums tab and brings retrieved ones to it.
  CPublishPage(FeatureHost& host, CPhotoAlbumsPage& albums, QWidget* content, QObject* parent);

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;

  PublishToWeb& publishing() { return m_publish; }

 private:
  PublishToWeb m_publish;
};
