#pragma once

#include <memory>

#include <QPainter>
#include <QPoint>
#include <QSize>

class PaperRecord;

// Stand-in for a device context: a painter on a widget, printer or picture together with
// the device's metrics. The painter is not owned. Copies stand for the same device.
class DeviceContext {
 public:
  DeviceContext(QPainter& painter, QSize size, int dpiX = 96, int dpiY = 96,
                QPoint physicalOffset = QPoint());
  virtual ~DeviceContext();

  QPainter& painter() { return painter_; }
  // Size of the drawing surface in device pixels (the printable area on a printer).
  QSize size() const { return size_; }
  int dpiX() const { return dpiX_; }
  int dpiY() const { return dpiY_; }
  // Offset of the printable area from the paper's corner, in device pixels.
  QPoint physicalOffset() const { return physicalOffset_; }

  // Starts a new page on a printer or PDF writer (false when the device has no pages or
  // refuses). Use this rather than the printer's own newPage(): it also tells the raster
  // operations that the new page is blank.
  bool newPage();
  // For the painting functions: what they painted on a device that cannot be read back.
  PaperRecord& paperRecord();

 private:
  QPainter& painter_;
  QSize size_;
  int dpiX_;
  int dpiY_;
  QPoint physicalOffset_;
  std::shared_ptr<PaperRecord> paperRecord_;
};
