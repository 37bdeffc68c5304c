#pragma once

#include "controls/CTabPage.h"

class CPictureListBox;
class FeatureHost;
class PhotoListModel;

// The Fun tab: the list of fun activities; a double click starts one.
class CFunPage : public CTabPage {
  Q_OBJECT

 public:
  CFunPage(FeatureHost& host, QWidget* content, QObject* parent);

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;

  PhotoListModel& funModel() const { return *m_model; }
  CPictureListBox* funList() const { return m_list; }
  // Starts the activity of that row of the list.
  void startActivity(int row);

 private:
  FeatureHost& m_host;
  PhotoListModel* m_model;
  CPictureListBox* m_list;
};
