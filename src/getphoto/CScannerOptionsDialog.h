#pragma once

#include <QDialog>
#include <QList>
#include <QVariantMap>

#include "twn/ScanOption.h"

class QWidget;

// Offers a scanner's settings before a scan, built from what the device reports: a list
// for the mode, a number box or list for the resolution, the scan area as its top-left
// and bottom-right corners in the device's units. Each control's objectName is the
// setting's name ("mode", "resolution", "tl-x", ...).
class CScannerOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CScannerOptionsDialog(const QList<ScanOption>& options, QWidget* parent = nullptr);
  // The values shown, by setting name: QString for text settings, double for numbers.
  QVariantMap chosen() const;
  // The options callback for the scanner module, showing this dialog over parent.
  static ScanOptionsCallback callback(QWidget* parent);

 private:
  QList<ScanOption> options_;
  QList<QWidget*> editors_;
};
