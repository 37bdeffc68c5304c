#pragma once

#include <QPainter>
#include <QPoint>
#include <QSize>

// Stand-in for a device context: a painter on a widget, printer or picture together with
// the device's metrics. The painter is not owned.
class DeviceContext {
 public:
  DeviceContext(QPainter& painter, QSize size, int dpiX = 96, int dpiY = 96,
                QPoint physicalOffset = QPoint());
  virtual ~DeviceContext() = default;

  QPainter& painter() { return painter_; }
  // Size of the drawing surface in device pixels (the printable area on a printer).
  QSize size() const { return size_; }
  int dpiX() const { return dpiX_; }
  int dpiY() const { return dpiY_; }
  // Offset of the printable area from the paper's corner, in device pixels.
  QPoint physicalOffset() const { return physicalOffset_; }

 private:
  QPainter& painter_;
  QSize size_;
  int dpiX_;
  int dpiY_;
  QPoint physicalOffset_;
};
