#include "common/PlayerView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include "common/PhotoDecoder.h"
#include "common/SlideFrame.h"

namespace {
constexpr int kFadeTickMs = 16;
constexpr int kIdleTickMs = 100;
}  // namespace

PlayerView::PlayerView(const QStringList& photos, Input input, const SlideTimeline& timeline,
                       const QString& emptyMessage, QWidget* parent)
    : QWidget(parent),
      photos_(photos),
      input_(input),
      timeline_(timeline),
      emptyMessage_(emptyMessage) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  setFocusPolicy(Qt::StrongFocus);
  if (input_ != Input::Ignore) setCursor(Qt::BlankCursor);
  setMouseTracking(input_ == Input::EndOnAnyInput);

  auto* decoder = new PhotoDecoder;
  decoder->moveToThread(&worker_);
  connect(&worker_, &QThread::finished, decoder, &QObject::deleteLater);
  connect(this, &PlayerView::decodeRequested, decoder, &PhotoDecoder::decode);
  connect(decoder, &PhotoDecoder::decoded, this, &PlayerView::onDecoded);
  worker_.start();

  connect(&ticker_, &QTimer::timeout, this, &PlayerView::tick);
}

PlayerView::~PlayerView() {
  worker_.quit();
  worker_.wait();
}

bool PlayerView::showsMessage() const {
  return failed_.size() >= photos_.size();
}

int PlayerView::nextPhoto(int from, int direction) const {
  return StepPhotoIndex(from, direction, int(photos_.size()), failed_);
}

QSize PlayerView::decodeArea() const {
  QSize area = size();
  if ((isFullScreen() || area.isEmpty()) && screen() != nullptr) area = screen()->size();
  return area * devicePixelRatioF();
}

void PlayerView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (started_) return;
  started_ = true;
  clock_.start();
  if (!photos_.isEmpty()) prefetch(0);
  ticker_.start(kIdleTickMs);
}

void PlayerView::prefetch(int index) {
  if (index < 0 || images_.contains(index) || requested_.contains(index) ||
      failed_.contains(index))
    return;
  requested_.insert(index);
  emit decodeRequested(index, photos_.at(index), decodeArea());
}

void PlayerView::onDecoded(int index, const QImage& image) {
  requested_.remove(index);
  if (image.isNull()) {
    failed_.insert(index);
    if (timeline_.current() < 0) {
      // Still looking for a first photo that decodes.
      prefetch(nextPhoto(index, 1));
    } else if (wanted_ == index) {
      const int next = nextPhoto(index, wantedDirection_);
      wanted_ = next == timeline_.current() ? -1 : next;
      prefetch(wanted_);
    }
    update();
    return;
  }
  images_.insert(index, image);
  if (timeline_.current() < 0) {
    timeline_.show(index, now());
    prefetch(nextPhoto(index, 1));
    update();
  }
  tick();
}

void PlayerView::tick() {
  const qint64 t = now();
  if (timeline_.isFading()) {
    if (timeline_.finishFade(t)) {
      dropUnneeded();
      prefetch(nextPhoto(timeline_.current(), 1));
    }
    update();
  } else if (wanted_ >= 0) {
    if (images_.contains(wanted_)) {
      timeline_.beginFade(wanted_, t);
      wanted_ = -1;
      update();
    }
  } else if (timeline_.isDue(t)) {
    const int next = nextPhoto(timeline_.current(), 1);
    if (next < 0 || next == timeline_.current()) {
      timeline_.show(timeline_.current(), t);
    } else if (images_.contains(next)) {
      timeline_.beginFade(next, t);
      update();
    } else {
      // Not decoded yet: the photo stays until it is, rather than the fade stuttering.
      prefetch(next);
    }
  }
  const int interval = timeline_.isFading() ? kFadeTickMs : kIdleTickMs;
  if (ticker_.interval() != interval) ticker_.setInterval(interval);
}

void PlayerView::dropUnneeded() {
  const int current = timeline_.current();
  const QSet<int> keep{current, timeline_.fadeTarget(), wanted_, nextPhoto(current, 1)};
  for (auto it = images_.begin(); it != images_.end();) {
    if (keep.contains(it.key()))
      ++it;
    else
      it = images_.erase(it);
  }
}

void PlayerView::step(int direction) {
  if (timeline_.current() < 0) return;
  timeline_.completeFade(now());
  const int target = nextPhoto(timeline_.current(), direction);
  if (target < 0 || target == timeline_.current()) return;
  wanted_ = target;
  wantedDirection_ = direction;
  dropUnneeded();
  prefetch(target);
  tick();
}

void PlayerView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (showsMessage()) {
    PaintSlideFrame(painter, size(), QImage(), QImage(), 0.0, emptyMessage_);
    return;
  }
  const QImage from = images_.value(timeline_.current());
  const QImage to = timeline_.isFading() ? images_.value(timeline_.fadeTarget()) : QImage();
  PaintSlideFrame(painter, size(), from, to, timeline_.fadeMix(now()));
}

void PlayerView::keyPressEvent(QKeyEvent* event) {
  if (input_ == Input::Ignore) return;
  if (input_ == Input::EndOnAnyInput || showsMessage()) {
    emit endRequested();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Left:
      step(-1);
      break;
    case Qt::Key_Right:
      step(1);
      break;
    case Qt::Key_Space:
      timeline_.setPaused(!timeline_.isPaused(), now());
      break;
    case Qt::Key_Escape:
      emit endRequested();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void PlayerView::mousePressEvent(QMouseEvent*) {
  if (input_ != Input::Ignore) emit endRequested();
}

void PlayerView::mouseMoveEvent(QMouseEvent* event) {
  if (input_ == Input::EndOnAnyInput &&
      mouseGate_.movedAway(event->globalPosition().toPoint()))
    emit endRequested();
}

void PlayerView::wheelEvent(QWheelEvent*) {
  if (input_ == Input::EndOnAnyInput) emit endRequested();
}

void PlayerView::showOnWholeScreen() {
  if (QScreen* primary = QGuiApplication::primaryScreen()) setGeometry(primary->geometry());
  showFullScreen();
  raise();
  activateWindow();
}
