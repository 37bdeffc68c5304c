#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>

// One setting a scanner reports (mode, resolution, a corner of the scan area), with the
// values it allows, so the caller can offer it to people.
struct ScanOption {
  enum class Kind { Text, Integer, Fixed };
  QString Name;         // the device's option name: "mode", "resolution", "tl-x", ...
  QString Title;        // a short label from the device
  QString Description;  // the device's longer explanation
  QString Unit;         // "dpi", "mm", "pixel" or empty
  Kind Type = Kind::Integer;
  QStringList TextChoices;    // allowed texts (Text options)
  QList<double> NumberChoices;  // allowed numbers when the device lists them
  bool HasRange = false;      // numbers within Minimum..Maximum in steps of Step (0: any)
  double Minimum = 0;
  double Maximum = 0;
  double Step = 0;
  QVariant Value;             // the current value: QString for Text, double otherwise
};

// Asked before a scan with its settings; fills chosen with name -> value (QString or
// double) for the settings to change and returns true, or returns false to cancel.
using ScanOptionsCallback =
    std::function<bool(const QList<ScanOption>& options, QVariantMap& chosen)>;
