#include "dis/DeviceContext.h"

DeviceContext::DeviceContext(QPainter& painter, QSize size, int dpiX, int dpiY,
                             QPoint physicalOffset)
    : painter_(painter), size_(size), dpiX_(dpiX), dpiY_(dpiY), physicalOffset_(physicalOffset) {}
