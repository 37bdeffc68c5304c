#pragma once

#include <QDialog>

// The About box (dialog 100): the program's picture, name and version, the user's id
// when there is one (1218), and buttons to the maker's site (1207) and the service's
// (1222). The visits are the caller's: the buttons only signal.
class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  CAboutDialog(const QString& userId, const QString& serviceSiteName, QWidget* parent = nullptr);

 signals:
  void visitMakerClicked();
  void visitServiceClicked();
};
