#include "editing/CFramePicker.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "controls/CPictureListBox.h"
#include "controls/CPicturePreview.h"
#include "editing/DialogParts.h"
#include "editing/PreviewDrag.h"
#include "photoedits/PreviewPicture.h"
#include "efx/ltefx.h"
#include "library/PhotoListModel.h"

namespace {
constexpr char kDefaultHint[] =
    "First, select the frame you want.  Then you can move your photo or zoom in/out to fit it in the frame.  Move "
    "your photo by dragging it around and dropping it where you want it to rest inside the frame.";
}  // namespace

CFramePicker::CFramePicker(HoleFill fill, QWidget* parent) : QWidget(parent), m_fill(fill) {
  m_model = new PhotoListModel(this);
  m_list = Named(new CPictureListBox(this), 1018);
  m_list->setModel(m_model);
  m_list->setTransparentWhite(true);
  m_list->setMinimumWidth(180);
  m_hint = Named(HintLabel(this), 1038);
  m_hint->setText(QString::fromLatin1(kDefaultHint));
  m_hint->setMinimumHeight(90);
  m_preview = Named(new CPicturePreview(this), 1006);
  m_preview->setDisplayMode(CPicturePreview::ZoomPan);
  m_preview->setZoomLevel(1);
  m_preview->setMinimumSize(400, 300);
  new PreviewDrag(m_preview);  // owned by the preview
  auto* zoomIn = Named(new QPushButton(QStringLiteral("Zoom &In"), this), 1177);
  auto* zoomOut = Named(new QPushButton(QStringLiteral("&Zoom Out"), this), 1178);

  auto* zoom = new QHBoxLayout;
  zoom->addStretch(1);
  zoom->addWidget(zoomIn);
  zoom->addWidget(zoomOut);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_list, 0, 0);
  layout->addWidget(m_hint, 1, 0, 2, 1);
  layout->addWidget(m_preview, 0, 1, 2, 1);
  layout->addLayout(zoom, 2, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(0, 1);

  connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { loadSelectedFrame(); });
  // No bound either way, as the zoom levels have always been.
  connect(zoomIn, &QPushButton::clicked, this, [this] { m_preview->setZoomLevel(m_preview->zoomLevel() + 1); });
  connect(zoomOut, &QPushButton::clicked, this, [this] { m_preview->setZoomLevel(m_preview->zoomLevel() - 1); });
  connect(m_preview, &CPicturePreview::afterPaint, this, &CFramePicker::drawFrame);
}

CFramePicker::~CFramePicker() { m_preview->setPicture(nullptr); }

void CFramePicker::setFolder(const QString& folder) {
  m_folder = folder;
  m_model->clear();
  m_items = ListFrames(folder, m_fill);
  for (const FrameItem& item : m_items)
    m_model->append(item.Name, std::make_shared<const PhotoItem>(PhotoItem{item.Thumbnail, 0, QString()}));
  InitBitmap(m_frame, 0, 0, 0);
  if (!m_items.empty()) m_list->setCurrentRow(0);
  else loadSelectedFrame();
}

void CFramePicker::setHint(const QString& text) { m_hint->setText(text.isEmpty() ? QString::fromLatin1(kDefaultHint) : text); }

void CFramePicker::setPhoto(const ImageBitmap& photo) {
  m_photo = photo;
  m_shown = ReducedForPreview(photo);
  m_preview->setPicture(&m_shown);
}

int CFramePicker::frameCount() const { return int(m_items.size()); }

FrameView CFramePicker::view() const {
  return FrameView{m_preview->panOffset(), m_preview->zoomLevel(), m_preview->size(), m_preview->drawnSize()};
}

void CFramePicker::loadSelectedFrame() {
  const int row = m_list->currentRow();
  // A listed file that is not a GIF names a GIF that may not exist: then no frame shows.
  if (row < 0 || row >= int(m_items.size()) || !LoadFrame(m_folder, m_items[size_t(row)].Name, m_frame))
    InitBitmap(m_frame, 0, 0, 0);
  m_preview->update();
  emit frameChanged();
}

void CFramePicker::drawFrame(DeviceContext& dc, QSize client) {
  if (!m_frame.hasPixels()) return;
  // The frame stretched over the client with its hole transparent, made once a frame and
  // size, so that a repaint while dragging only lays it over the photo.
  if (m_overlay.size() != client || m_overlayKey != m_frame.Pixels.cacheKey()) {
    m_overlay = QImage(client, QImage::Format_ARGB32_Premultiplied);
    m_overlay.fill(Qt::transparent);
    QPainter painter(&m_overlay);
    DeviceContext overlay(painter, client);
    PaintTransparent(overlay, m_frame, QRect(), QRect(QPoint(0, 0), client), QRect(), qRgb(0, 0, 0));
    m_overlayKey = m_frame.Pixels.cacheKey();
  }
  dc.painter().drawImage(0, 0, m_overlay);
}
