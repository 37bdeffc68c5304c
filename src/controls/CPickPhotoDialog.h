#pragma once

#include <QDialog>

class CPictureListBox;
class PhotoListModel;
class QCheckBox;

// "Pick a Photo": the photos of My Photos with their thumbnails, in the list's order, to
// put one on a label or album place, or on every blank one.
class CPickPhotoDialog : public QDialog {
  Q_OBJECT

 public:
  // lastPicked: the photo picked last, selected and scrolled to when it is still there.
  CPickPhotoDialog(PhotoListModel& photos, const QString& lastPicked, QWidget* parent = nullptr);

  // The selected photo's name; "" when none is selected.
  QString pickedName() const;
  // "Fill in all the available blank spaces" is ticked.
  bool fillBlanks() const;

  CPictureListBox* photoList() const { return m_list; }

 public slots:
  void accept() override;

 private:
  PhotoListModel& m_photos;
  CPictureListBox* m_list;
  QCheckBox* m_fill;
};
