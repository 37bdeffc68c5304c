#include "dis/DeviceContext.h"

#include <QPagedPaintDevice>

#include "dis/PaperRecord.h"

DeviceContext::DeviceContext(QPainter& painter, QSize size, int dpiX, int dpiY,
                             QPoint physicalOffset)
    : painter_(painter), size_(size), dpiX_(dpiX), dpiY_(dpiY), physicalOffset_(physicalOffset),
      paperRecord_(std::make_shared<PaperRecord>()) {}

DeviceContext::~DeviceContext() = default;

bool DeviceContext::newPage() {
  paperRecord_->clear();
  auto* paged = dynamic_cast<QPagedPaintDevice*>(painter_.device());
  return paged && paged->newPage();
}

PaperRecord& DeviceContext::paperRecord() { return *paperRecord_; }
