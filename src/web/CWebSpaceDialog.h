#pragma once

#include <QDialog>

#include "websync/PublishPlan.h"

// "Web Space": the upload would pass the purchased space; OK ("Get More Web Space")
// leads to the service's page for more.
class CWebSpaceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CWebSpaceDialog(const SpaceShortage& shortage, QWidget* parent = nullptr);
};
