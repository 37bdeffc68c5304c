#include "editing/CEffectsDialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include "controls/CPicturePreview.h"
#include "controls/FeatureHost.h"
#include "controls/PictureEditTarget.h"
#include "controls/ProgramCursors.h"
#include "editing/DialogParts.h"
#include "photoedits/PreviewPicture.h"
#include "img/EffectTable.h"

namespace {
constexpr int kHandCursor = 172;

// What a preview's worker hands back.
struct PreviewResult {
  int Code = ERROR_FAILURE;
  ImageBitmap Picture;
  ImageBitmap Shown;
};
}  // namespace

CEffectsDialog::CEffectsDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target), m_working(target.picture()) {
  setObjectName(QStringLiteral("138"));
  setWindowTitle(QStringLiteral("Special Effects"));

  m_effects = Named(new QListWidget(this), 1002);
  for (const EffectInfo& effect : Effects()) {
    auto* item = new QListWidgetItem(QString::fromLatin1(effect.Name), m_effects);
    item->setData(Qt::UserRole, effect.Code);
  }
  m_valueLabel = Named(new QLabel(this), 1014);
  m_slider = Named(new QSlider(Qt::Horizontal, this), 1015);
  m_slider->setTickPosition(QSlider::NoTicks);
  m_value = Named(new QLabel(this), 1016);
  m_value->setMinimumWidth(48);
  m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_options = Named(new QComboBox(this), 1017);
  m_previewButton = Named(new QPushButton(QStringLiteral("&Preview"), this), 1007);
  m_undoButton = Named(new QPushButton(QStringLiteral("&Undo"), this), 1009);
  m_applyButton = Named(new QPushButton(QStringLiteral("&Apply"), this), 1008);
  auto* close = Named(new QPushButton(QStringLiteral("&Close"), this), 1);
  m_progress = Named(new QProgressBar(this), 1119);
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_preview = Named(new CPicturePreview(this), 1006);
  m_preview->setDisplayMode(CPicturePreview::ZoomPan);
  m_preview->setZoomLevel(1);
  m_preview->setMinimumSize(420, 320);
  m_preview->setMouseTracking(true);
  m_preview->installEventFilter(this);
  m_description = Named(HintLabel(this), 1010);
  m_description->setMinimumHeight(90);
  m_undoNote = HintLabel(this);
  m_undoNote->setObjectName(QStringLiteral("undoNote"));
  m_undoNote->hide();

  auto* valueRow = new QHBoxLayout;
  valueRow->addWidget(m_slider, 1);
  valueRow->addWidget(m_value);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {m_previewButton, m_undoButton, m_applyButton}) buttons->addWidget(button);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select a Special Effect"), this), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Preview"), this), 0, 1);
  layout->addWidget(m_effects, 1, 0);
  layout->addWidget(m_preview, 1, 1, 5, 1);
  layout->addWidget(m_valueLabel, 2, 0);
  layout->addLayout(valueRow, 3, 0);
  layout->addWidget(m_options, 4, 0);
  auto* descriptionRow = new QHBoxLayout;
  descriptionRow->addWidget(new QLabel(QStringLiteral("Description"), this), 0, Qt::AlignTop);
  descriptionRow->addWidget(m_description, 1);
  layout->addLayout(descriptionRow, 5, 0);
  layout->addWidget(m_progress, 6, 0, 1, 2);
  layout->addWidget(m_undoNote, 7, 0, 1, 2);
  layout->addLayout(buttons, 8, 0, 1, 2);
  layout->setColumnStretch(0, 2);
  layout->setColumnStretch(1, 3);
  layout->setRowStretch(1, 1);
  resize(820, 560);

  connect(m_effects, &QListWidget::currentRowChanged, this, &CEffectsDialog::selectEffect);
  connect(m_effects, &QListWidget::itemDoubleClicked, this, [this] {
    // Only the effects without a value run on a double click.
    if (const EffectInfo* effect = selectedEffect(); effect && (effect->Code == 100 || effect->Code == 101)) preview();
  });
  connect(m_slider, &QSlider::valueChanged, this, &CEffectsDialog::showValue);
  connect(m_previewButton, &QPushButton::clicked, this, &CEffectsDialog::preview);
  connect(m_undoButton, &QPushButton::clicked, this, &CEffectsDialog::undo);
  connect(m_applyButton, &QPushButton::clicked, this, &CEffectsDialog::apply);
  connect(close, &QPushButton::clicked, this, &CEffectsDialog::accept);

  m_undo.Reset(m_working);
  for (QWidget* control : {static_cast<QWidget*>(m_slider), static_cast<QWidget*>(m_value),
                           static_cast<QWidget*>(m_valueLabel), static_cast<QWidget*>(m_options)})
    control->hide();
  updateButtons();
  showWorking();
}

CEffectsDialog::~CEffectsDialog() {
  if (m_stopPreview) m_stopPreview();
  m_preview->setPicture(nullptr);
}

const EffectInfo* CEffectsDialog::selectedEffect() const {
  const QListWidgetItem* item = m_effects->currentItem();
  return item ? FindEffect(item->data(Qt::UserRole).toInt()) : nullptr;
}

void CEffectsDialog::selectEffect() {
  for (QWidget* control : {static_cast<QWidget*>(m_slider), static_cast<QWidget*>(m_value),
                           static_cast<QWidget*>(m_valueLabel), static_cast<QWidget*>(m_options)})
    control->hide();
  m_options->clear();
  const EffectInfo* effect = selectedEffect();
  if (!effect) return;
  m_description->setText(QString::fromLatin1(effect->Description));
  m_valueLabel->setText(QString::fromLatin1(effect->Label));
  m_valueLabel->setVisible(*effect->Label != '\0');
  if (effect->HasValue()) {
    const QSignalBlocker quiet(m_slider);
    m_slider->setRange(effect->Minimum, effect->Maximum);
    m_slider->setValue(effect->Start);
    // Page steps of a tenth of the range, as a trackbar's clicks beside the thumb.
    m_slider->setPageStep(std::max(1, (effect->Maximum - effect->Minimum) / 10));
    m_slider->show();
    m_value->show();
    showValue(effect->Start);
  }
  const QStringList options = EffectOptionTexts(effect->Options);
  if (!options.isEmpty()) {
    m_options->addItems(options);
    m_options->setCurrentIndex(0);
    m_options->show();
  }
}

void CEffectsDialog::showValue(int position) {
  if (const EffectInfo* effect = selectedEffect()) m_value->setText(EffectValueText(*effect, position));
}

void CEffectsDialog::updateButtons() {
  const bool running = previewRunning();
  m_previewButton->setEnabled(!running);
  m_undoButton->setEnabled(!running && m_undo.CanUndo());
  m_applyButton->setEnabled(!running && m_undo.CanUndo());
  if (m_undo.DroppedSteps() > 0 && m_undo.CanUndo()) {
    m_undoNote->setText(QStringLiteral("To keep memory free, Undo keeps the last %1 steps; it still goes back to the "
                                       "picture as it was opened.")
                            .arg(m_undo.Count() - 2));
    m_undoNote->show();
  } else {
    m_undoNote->hide();
  }
}

void CEffectsDialog::preview() {
  if (previewRunning()) return;
  // Every preview is a step Undo can take back, even one that changes nothing.
  m_undo.Push(m_working);
  updateButtons();
  const EffectInfo* effect = selectedEffect();
  if (!effect) return;
  const int value = EffectValueFromText(m_value->text());
  const int option = m_options->currentIndex();

  BackgroundTask task;
  task.maximum = 100;
  task.progressBox = false;
  task.waitCursor = false;
  task.progress = [bar = QPointer<QProgressBar>(m_progress)](int percent) {
    if (bar) bar->setValue(percent);
  };
  m_progress->setValue(0);
  setCursor(Qt::BusyCursor);
  // The worker has its own copy (sharing pixels until the effect writes), so the dialog's
  // pictures stay as they are until the result arrives, and whatever a Close stops.
  const ImageBitmap picture = m_working;
  QPointer<CEffectsDialog> self(this);
  m_stopPreview = m_host.backgroundRunner().start(
      task,
      [picture, effect, value, option](BackgroundJob&) {
        PreviewResult result;
        result.Picture = picture;
        result.Code = ApplyEffect(*effect, result.Picture, value, option);
        if (result.Code == SUCCESS) result.Shown = ReducedForPreview(result.Picture);
        return result;
      },
      [self](PreviewResult result) {
        if (!self) return;
        self->m_stopPreview = nullptr;
        self->unsetCursor();
        // A failed effect changes nothing; its step stays for Undo as any other.
        if (result.Code == SUCCESS) {
          self->m_working = std::move(result.Picture);
          self->m_shown = std::move(result.Shown);
          self->m_preview->setPicture(&self->m_shown);
          ++self->m_shownGeneration;
        }
        self->m_progress->setValue(0);
        self->updateButtons();
        emit self->previewFinished();
      });
  updateButtons();
}

void CEffectsDialog::undo() {
  if (previewRunning() || !m_undo.CanUndo()) return;
  m_working = m_undo.Pop();
  showWorking();
  updateButtons();
}

void CEffectsDialog::apply() {
  if (previewRunning() || !m_undo.CanUndo()) return;
  setCursor(Qt::WaitCursor);
  m_undo.Reset(m_working);
  ImageBitmap& caller = m_target.picture();
  FreeBitmap(caller);
  InitBitmap(caller, 0, 0, 0);
  CopyBitmap(caller, m_working);
  m_target.pictureChanged();
  if (QWidget* window = m_host.hostWindow()) window->update();
  unsetCursor();
  updateButtons();
}

void CEffectsDialog::done(int result) {
  // Closing during a preview stops it; its result, when it comes, is dropped.
  if (m_stopPreview) m_stopPreview();
  QDialog::done(result);
}

void CEffectsDialog::showWorking() {
  const int generation = ++m_shownGeneration;
  if (std::max(m_working.Width, m_working.Height) <= kPreviewSide) {
    m_shown = m_working;
    m_preview->setPicture(&m_shown);
    return;
  }
  BackgroundTask task;
  task.progressBox = false;
  task.waitCursor = false;
  QPointer<CEffectsDialog> self(this);
  m_host.backgroundRunner().start(
      task, [picture = m_working](BackgroundJob&) { return ReducedForPreview(picture); },
      [self, generation](ImageBitmap shown) {
        if (!self || generation != self->m_shownGeneration) return;
        self->m_shown = std::move(shown);
        self->m_preview->setPicture(&self->m_shown);
      });
}

bool CEffectsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_preview) {
    const bool hasPicture = m_working.hasPixels() && !m_working.isEmpty();
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
      m_preview->setCursor(hasPicture ? ProgramCursor(kHandCursor) : QCursor(Qt::ForbiddenCursor));
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        hasPicture) {
      m_host.viewFullSize(m_working, QStringLiteral("Your Photo"));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
