#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

// Decodes show photos, fitted to the screen, on the thread it lives on; the view moves
// it to a worker so that a large photo never holds up a running fade.
class PhotoDecoder : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // The photo decoded through the imaging library and scaled to fit area keeping its
  // proportions, ready for painting; a null image when it cannot be decoded.
  static QImage loadFitted(const QString& path, QSize area);

 public slots:
  void decode(int index, const QString& path, QSize area);

 signals:
  void decoded(int index, const QImage& image);
};
