#pragma once

#include <vector>

#include <QDialog>

struct LabelTemplate;
class QListWidget;

// "Pick a Photo Album Page": the album layouts as pictures, to arrange a new page.
class CPickAlbumPageDialog : public QDialog {
  Q_OBJECT

 public:
  CPickAlbumPageDialog(const std::vector<LabelTemplate*>& layouts, QWidget* parent = nullptr);

  // The layout picked; null when none is.
  LabelTemplate* pickedLayout() const;
  QListWidget* layoutList() const { return m_list; }

 public slots:
  void accept() override;

 private:
  std::vector<LabelTemplate*> m_layouts;
  QListWidget* m_list;
};
