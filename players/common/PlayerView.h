#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "common/MouseMoveGate.h"
#include "common/SlideTimeline.h"

// The show on screen: black, the photos one after another with a cross-fade, each
// decoded ahead on a worker thread. Photos that do not decode are passed over; with none
// left the view shows only the message (which may be empty: then it stays black).
class PlayerView : public QWidget {
  Q_OBJECT
 public:
  enum class Input {
    SlideShow,      // Left/Right step, Space pauses, Escape or a click ends
    EndOnAnyInput,  // a screen saver: a key, a button or a real mouse move ends
    Ignore,         // a preview, or a screen saver whose input someone else watches
  };

  PlayerView(const QStringList& photos, Input input, const SlideTimeline& timeline,
             const QString& emptyMessage, QWidget* parent = nullptr);

  ~PlayerView() override;

  // Covers the whole screen, also where no window manager would make a window full
  // screen, and comes to the front.
  void showOnWholeScreen();

  // The photo fully shown, -1 before the first one is ready.
  int currentPhoto() const { return timeline_.current(); }
  bool showsMessage() const;
  bool isPaused() const { return timeline_.isPaused(); }

 signals:
  // The user asked to end the show.
  void endRequested();
  // To the decoding worker.
  void decodeRequested(int index, const QString& path, QSize area);

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void onDecoded(int index, const QImage& image);
  void tick();
  void step(int direction);
  void prefetch(int index);
  void dropUnneeded();
  int nextPhoto(int from, int direction) const;
  QSize decodeArea() const;
  qint64 now() const { return clock_.elapsed(); }

  QStringList photos_;
  Input input_;
  SlideTimeline timeline_;
  QString emptyMessage_;
  QElapsedTimer clock_;
  QTimer ticker_;
  QThread worker_;
  QHash<int, QImage> images_;
  QSet<int> requested_;
  QSet<int> failed_;
  // The photo to fade to as soon as it is decoded (a step the user asked for).
  int wanted_ = -1;
  int wantedDirection_ = 1;
  bool started_ = false;
  MouseMoveGate mouseGate_;
};
