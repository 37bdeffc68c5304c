#include <QClipboard>
#include <QGuiApplication>
#include <QThread>

#include "dis/Orientation.h"
#include "dis/ltdis.h"

int CopyBitmapToClipboard(const ImageBitmap& bmp) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  // The clipboard belongs to the application's interface thread; without an application
  // there is none.
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!app || QThread::currentThread() != app->thread()) return ERROR_NO_CLIPBOARD;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return ERROR_NO_CLIPBOARD;
  const QImage image = OrientImage(BitmapToRgb32(bmp), bmp.Perspective);
  if (image.isNull()) return ERROR_NO_MEMORY;
  clipboard->setImage(image);
  return SUCCESS;
}
