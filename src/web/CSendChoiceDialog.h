#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

// "Send your photos to …": all photos and albums, or only the photos in albums. OK waits
// for a choice.
class CSendChoiceDialog : public QDialog {
  Q_OBJECT

 public:
  CSendChoiceDialog(const QString& hostName, QWidget* parent = nullptr);

  bool sendAll() const;

 private:
  QRadioButton* m_albumsOnly;
  QRadioButton* m_all;
};
