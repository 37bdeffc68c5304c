#include "editing/CCaptionDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "controls/FeatureHost.h"
#include "controls/OkCancelButtons.h"
#include "controls/PictureEditTarget.h"
#include "controls/Prompter.h"
#include "editing/CCaptionView.h"
#include "editing/CCaptionWindow.h"
#include "editing/DialogParts.h"
#include "photoedits/PreviewPicture.h"
#include "system/Folders.h"

namespace {
struct ShapeItem {
  const char* Name;
  const char* Icon;
};
// In the order of CaptionShape.
constexpr ShapeItem kShapeItems[] = {
    {"Thinking", "caption-thinking.bmp"}, {"Talking", "caption-talking.bmp"}, {"Sticky Note", "caption-sticky-note.bmp"}};
}  // namespace

CCaptionDialog::CCaptionDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target), m_pictureSize(target.picture().shownSize()), m_font(DefaultCaptionFont()) {
  setObjectName(QStringLiteral("190"));
  setWindowTitle(QStringLiteral("Caption"));

  m_shapes = Named(new QListWidget(this), 1074);
  m_shapes->setViewMode(QListView::IconMode);
  m_shapes->setMovement(QListView::Static);
  m_shapes->setFlow(QListView::LeftToRight);
  m_shapes->setWrapping(false);
  m_shapes->setIconSize(QSize(48, 48));
  m_shapes->setGridSize(QSize(96, 76));
  m_shapes->setFixedHeight(84);
  m_shapes->setMinimumWidth(3 * 96 + 8);
  for (const ShapeItem& item : kShapeItems)
    new QListWidgetItem(QIcon(GetProgramFolder() + "resources/" + item.Icon), QString::fromLatin1(item.Name), m_shapes);
  m_shapes->setCurrentRow(0);

  m_text = Named(new QPlainTextEdit(this), 1075);
  m_text->setFixedHeight(84);
  m_text->setTabChangesFocus(true);
  auto* fontButton = Named(new QPushButton(QStringLiteral("&Font && Color"), this), 1202);
  auto* hint = Named(HintLabel(this), 1038);
  hint->setText(QStringLiteral("Move the caption around the image by dragging it with your mouse."));

  m_shown = ReducedForPreview(target.picture());
  m_view = new CCaptionView(this);
  m_view->setPicture(&m_shown);
  m_view->setMinimumSize(320, 240);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Please pick the type of caption that you want."), this), 0, 0);
  layout->addWidget(m_shapes, 1, 0, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("Type the text you want to appear in the caption."), this), 0, 1);
  layout->addWidget(m_text, 1, 1, 2, 1);
  layout->addWidget(fontButton, 1, 2);
  layout->addWidget(hint, 2, 2);
  layout->addWidget(m_view, 3, 0, 1, 3);
  layout->addWidget(buttons, 4, 0, 1, 3);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(3, 1);

  // As large as the picture needs, within the screen.
  const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 1280, 960);
  const QSize shown = m_shown.shownSize();
  resize(std::clamp(shown.width() + 40, 760, std::max(760, screen.width() * 9 / 10)),
         std::clamp(shown.height() + 230, 520, std::max(520, screen.height() * 9 / 10)));

  connect(m_text, &QPlainTextEdit::textChanged, this, &CCaptionDialog::updateCaption);
  connect(m_shapes, &QListWidget::currentRowChanged, this, &CCaptionDialog::updateCaption);
  connect(fontButton, &QPushButton::clicked, this, &CCaptionDialog::chooseFontAndColour);
  updateCaption();
}

Caption CCaptionDialog::caption() const {
  Caption caption;
  caption.Shape = CaptionShape(std::clamp(m_shapes->currentRow(), 0, 2));
  caption.Text = m_text->toPlainText();
  caption.Font = m_font;
  caption.Colour = m_colour;
  return caption;
}

void CCaptionDialog::updateCaption() { m_view->updateCaption(caption()); }

void CCaptionDialog::chooseFontAndColour() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, m_font, this, QStringLiteral("Font"));
  if (!chosen) return;
  const QColor colour = QColorDialog::getColor(m_colour, this, QStringLiteral("Color"));
  setFontAndColour(font, colour.isValid() ? colour : m_colour);
}

void CCaptionDialog::setFontAndColour(const QFont& font, const QColor& colour) {
  m_font = font;
  m_colour = colour;
  m_text->setFont(font);
  QPalette colours = m_text->palette();
  colours.setColor(QPalette::Text, colour);
  m_text->setPalette(colours);
  updateCaption();
}

double CCaptionDialog::pictureScale() const {
  return CaptionScale(m_pictureSize.width(), m_shown.shownSize().width());
}

QRectF CCaptionDialog::captionRectInPicture() const {
  const CCaptionWindow* window = m_view->captionWindow();
  const double scale = pictureScale();
  return QRectF(QPointF(window->position()) * scale, QSizeF(window->layout().box()) * scale);
}

void CCaptionDialog::accept() {
  const CCaptionWindow* window = m_view->captionWindow();
  const QPointF at = captionRectInPicture().topLeft();
  const double scale = pictureScale();
  // Only the pixels under the caption are drawn, in a moment, so they are drawn straight
  // into the caller's picture, which this dialog does not share (the view's is a reduced
  // copy, or small): a large photo is not copied for them. It changes only once the
  // caption is drawn.
  const int result = BurnCaption(m_target.picture(), window->caption(), window->wrapWidth(), at, scale);
  if (result != SUCCESS) {
    m_host.prompter().showError(this, QStringLiteral("The caption could not be added to the photo: %1")
                                          .arg(QString::fromUtf8(ResultText(result))));
    return;
  }
  m_target.pictureChanged();
  QDialog::accept();
}
