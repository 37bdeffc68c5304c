#include "editing/CRedEyeDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/CScrollImageView.h"
#include "controls/FeatureHost.h"
#include "controls/OkCancelButtons.h"
#include "controls/PictureEditTarget.h"
#include "controls/ProgramCursors.h"
#include "controls/Prompter.h"
#include "dis/ltdis.h"
#include "editing/DialogParts.h"
#include "photoedits/RedEye.h"

namespace {
constexpr int kOutlineMs = 100;
constexpr int kEyeCursor = 240;
}  // namespace

CRedEyeDialog::CRedEyeDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target), m_working(target.picture()) {
  setObjectName(QStringLiteral("198"));
  setWindowTitle(QStringLiteral("Correct Red Eye"));
  auto* hint = Named(HintLabel(this), 1038);
  hint->setText(QStringLiteral("With the mouse draw the circle where the red eye is.  Then Click the <Correct Red "
                               "Eye> button.  When you are finished, click <Ok>."));
  m_correct = Named(new QPushButton(QStringLiteral("&Correct Red Eye"), this), 1089);
  m_correct->setEnabled(false);
  m_view = new CScrollImageView(this);
  m_view->setPicture(&m_working);
  m_view->viewport()->setCursor(ProgramCursor(kEyeCursor));
  m_view->viewport()->installEventFilter(this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_correct);
  buttons->addStretch(1);
  buttons->addWidget(OkCancelButtons(this));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addWidget(m_view, 1);
  layout->addLayout(buttons);

  // The picture at full size where the screen has room for it.
  const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1280, 960);
  const QSize picture = m_working.shownSize();
  resize(std::clamp(picture.width() + 40, 560, std::max(560, screen.width())),
         std::clamp(picture.height() + 150, 420, std::max(420, screen.height() - 40)));

  connect(m_view, &CScrollImageView::afterPaint, this, [this](DeviceContext& dc, QSize) { drawMarks(dc); });
  connect(m_correct, &QPushButton::clicked, this, &CRedEyeDialog::correctRedEye);
  connect(&m_outlineTimer, &QTimer::timeout, this, &CRedEyeDialog::showOutlineStep);
  m_outlineTimer.start(kOutlineMs);
}

bool CRedEyeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_view->viewport()) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      // A new ellipse replaces the one not yet corrected.
      FreeBitmapRegion(m_working);
      m_ellipse = QRect();
      m_press = m_current = mouse->position().toPoint();
      m_drawing = true;
      m_view->viewport()->update();
      return true;
    }
    case QEvent::MouseMove:
      if (!m_drawing) break;
      m_current = static_cast<QMouseEvent*>(event)->position().toPoint();
      m_view->viewport()->update();
      return true;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!m_drawing || mouse->button() != Qt::LeftButton) break;
      m_drawing = false;
      const QRect ellipse = RedEyeEllipse(m_press, mouse->position().toPoint(), m_view->scrollPosition());
      // An ellipse of no width or height, or one beside the picture, marks nothing.
      if (SetEllipseRegion(m_working, ellipse) == SUCCESS && HasBitmapRegion(m_working)) m_ellipse = ellipse;
      showOutlineStep();
      m_view->viewport()->update();
      return true;
    }
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

void CRedEyeDialog::showOutlineStep() {
  const bool marked = HasBitmapRegion(m_working);
  m_correct->setEnabled(marked);
  if (!marked) return;
  m_outlineStep = (m_outlineStep + 2) % 8;
  m_view->viewport()->update(m_ellipse.translated(-m_view->scrollPosition()).adjusted(-2, -2, 2, 2));
}

void CRedEyeDialog::drawMarks(DeviceContext& dc) {
  if (m_drawing) {
    // The ellipse being drawn, inverted over the picture so it shows on any colour.
    QPainter& painter = dc.painter();
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(RedEyeEllipse(m_press, m_current, QPoint()));
    painter.restore();
  }
  if (HasBitmapRegion(m_working)) {
    RegionTransform transform;
    transform.xOffset = -m_view->scrollPosition().x();
    transform.yOffset = -m_view->scrollPosition().y();
    DrawRegionOutline(dc, m_working, transform, m_outlineStep);
  }
}

void CRedEyeDialog::correctRedEye() {
  if (m_ellipse.isEmpty()) return;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const int result = CorrectRedEye(m_working, m_ellipse);
  QGuiApplication::restoreOverrideCursor();
  FreeBitmapRegion(m_working);
  m_ellipse = QRect();
  m_corrected = m_corrected || result == SUCCESS;
  showOutlineStep();
  m_view->viewport()->update();
  if (result != SUCCESS)
    m_host.prompter().showError(this, QStringLiteral("The red eye could not be corrected: %1")
                                          .arg(QString::fromUtf8(ResultText(result))));
}

void CRedEyeDialog::accept() {
  // Nothing corrected: the photo is not written again for nothing.
  if (m_corrected) {
    FreeBitmapRegion(m_working);
    m_target.picture() = m_working;
    m_target.pictureChanged();
  }
  QDialog::accept();
}
