#include "editing/CCropDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "controls/OkCancelButtons.h"
#include "controls/BackgroundRunner.h"
#include "controls/CPicturePreview.h"
#include "controls/FeatureHost.h"
#include "controls/PictureEditTarget.h"
#include "controls/Prompter.h"
#include "dis/ltdis.h"
#include "editing/CropGeometry.h"
#include "editing/CropToShape.h"
#include "editing/DialogParts.h"
#include "editing/PreviewDrag.h"
#include "photoedits/PreviewPicture.h"
#include "system/Folders.h"

namespace {
constexpr char kOpeningHint[] =
    "First, select the shape you want to crop.  When you crop, everything outside the shape you select will be "
    "erased.  Everything inside the shape will be saved.";
constexpr char kSizingHint[] =
    "Now use the Taller/Shorter, Wider/Thinner buttons to size your cropping region.  Then click <OK> to crop your "
    "picture.";
constexpr int kOutlineMs = 100;
}  // namespace

CCropDialog::CCropDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target), m_working(target.picture()) {
  setObjectName(QStringLiteral("158"));
  setWindowTitle(QStringLiteral("Crop"));

  m_shapes = Named(new QListWidget(this), 1018);
  m_shapes->setViewMode(QListView::IconMode);
  m_shapes->setMovement(QListView::Static);
  m_shapes->setResizeMode(QListView::Adjust);
  m_shapes->setIconSize(QSize(48, 48));
  m_shapes->setGridSize(QSize(112, 76));
  m_shapes->setWordWrap(true);
  for (const CropShape& shape : CropShapes())
    new QListWidgetItem(QIcon(GetProgramFolder() + "resources/" + shape.Icon), QString::fromLatin1(shape.Name), m_shapes);

  m_height = Named(new QSpinBox(this), 1031);
  m_height->setRange(kMinHeightFactor, kMaxHeightFactor);
  m_width = Named(new QSpinBox(this), 1032);
  m_width->setRange(kMinWidthFactor, kMaxWidthFactor);
  m_height->setValue(m_heightFactor);
  m_width->setValue(m_widthFactor);
  auto* size = new QGroupBox(QStringLiteral("Frame Size"), this);
  auto* sizeLayout = new QGridLayout(size);
  sizeLayout->addWidget(new QLabel(QStringLiteral("Taller / Shorter"), size), 0, 0);
  sizeLayout->addWidget(m_height, 0, 1);
  sizeLayout->addWidget(new QLabel(QStringLiteral("Thinner / Wider"), size), 1, 0);
  sizeLayout->addWidget(m_width, 1, 1);

  m_hint = Named(HintLabel(this), 1038);
  m_hint->setText(QString::fromLatin1(kOpeningHint));
  m_hint->setMinimumHeight(80);
  m_preview = Named(new CPicturePreview(this), 1006);
  m_preview->setDisplayMode(CPicturePreview::ZoomPan);
  m_preview->setMinimumSize(440, 330);
  m_shown = ReducedForPreview(m_working);
  m_preview->setPicture(&m_shown);
  new PreviewDrag(m_preview);  // owned by the preview

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Pick the shape of the crop"), this), 0, 0);
  layout->addWidget(m_shapes, 1, 0);
  layout->addWidget(size, 2, 0);
  layout->addWidget(new QLabel(QStringLiteral("Hint"), this), 3, 0);
  layout->addWidget(m_hint, 4, 0);
  layout->addWidget(m_preview, 0, 1, 5, 1);
  layout->addWidget(buttons, 5, 0, 1, 2);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(1, 1);
  resize(820, 520);

  connect(m_shapes, &QListWidget::currentRowChanged, this, &CCropDialog::chooseShape);
  connect(m_height, &QSpinBox::valueChanged, this, [this](int value) { setFactors(value, m_widthFactor); });
  connect(m_width, &QSpinBox::valueChanged, this, [this](int value) { setFactors(m_heightFactor, value); });
  connect(m_preview, &CPicturePreview::afterPaint, this, [this](DeviceContext& dc, QSize) { drawOutline(dc); });
  // The outline's dashes march while a shape is chosen.
  connect(&m_outlineTimer, &QTimer::timeout, this, [this] {
    m_outlineStep = (m_outlineStep + 2) % 8;
    if (m_shape >= 0) m_preview->update();
  });
  m_outlineTimer.start(kOutlineMs);
}

QRect CCropDialog::shapeRect() const {
  return CropRegionRect(m_working.shownSize(), m_heightFactor, m_widthFactor, m_preview->drawnSize(),
                        m_preview->panOffset());
}

void CCropDialog::chooseShape(int row) {
  if (row < 0 || row >= int(CropShapes().size())) return;
  m_shape = row;
  m_hint->setText(QString::fromLatin1(kSizingHint));
  const CropShape& shape = CropShapes()[size_t(row)];
  setFactors(shape.HeightFactor, shape.WidthFactor);
}

void CCropDialog::setFactors(int heightFactor, int widthFactor) {
  m_heightFactor = heightFactor;
  m_widthFactor = widthFactor;
  const QSignalBlocker quietHeight(m_height), quietWidth(m_width);
  m_height->setValue(heightFactor);
  m_width->setValue(widthFactor);
  m_preview->update();
}

void CCropDialog::drawOutline(DeviceContext& dc) {
  if (m_shape < 0 || m_preview->drawnSize().isEmpty()) return;
  // The shape on the picture as shown: full-size picture pixels mapped onto the drawn rectangle.
  ImageBitmap outline = m_working;
  const QRect shape = shapeRect();
  const int result = CropShapes()[size_t(m_shape)].Ellipse ? SetEllipseRegion(outline, shape) : SetRectRegion(outline, shape);
  if (result != SUCCESS || !HasBitmapRegion(outline)) return;
  RegionTransform transform;
  transform.xNumerator = m_preview->drawnSize().width();
  transform.xDenominator = std::max(1, m_working.shownSize().width());
  transform.yNumerator = m_preview->drawnSize().height();
  transform.yDenominator = std::max(1, m_working.shownSize().height());
  transform.xOffset = m_preview->zoomRect().left();
  transform.yOffset = m_preview->zoomRect().top();
  DrawRegionOutline(dc, outline, transform, m_outlineStep);
}

void CCropDialog::accept() {
  CropArea area;
  const QSize picture = m_working.shownSize();
  area.Source = CropSourceRect(picture, m_preview->size(), m_preview->drawnSize(), m_preview->panOffset());
  area.HasShape = m_shape >= 0;
  area.Shape = shapeRect();
  area.Ellipse = area.HasShape && CropShapes()[size_t(m_shape)].Ellipse;
  BackgroundTask task;
  task.text = QStringLiteral("Cropping the photo...");
  task.objectName = QStringLiteral("cropProgress");
  auto [result, cropped] = m_host.backgroundRunner().run(task, [picture = m_working, area](BackgroundJob&) {
    ImageBitmap out;
    const int code = CropToShape(picture, area, out);
    return std::make_pair(code, std::move(out));
  });
  if (result != SUCCESS) {
    m_host.prompter().showError(this, QStringLiteral("The photo could not be cropped: %1")
                                          .arg(QString::fromUtf8(ResultText(result))));
    return;
  }
  ImageBitmap& caller = m_target.picture();
  caller = std::move(cropped);
  m_target.pictureChanged();
  QDialog::accept();
}
