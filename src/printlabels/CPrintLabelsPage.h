#pragma once

#include "controls/CTabPage.h"

class FeatureHost;

// The Print Labels tab: the label sheet view in the page area, and below the
// instructions the Pick a Photo button and the name of the label template.
class CPrintLabelsPage : public CTabPage {
  Q_OBJECT

 public:
  CPrintLabelsPage(FeatureHost& host, QWidget* content, QObject* parent);

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;
  bool onCommand(int command) override;

 private:
  FeatureHost& m_host;
};
