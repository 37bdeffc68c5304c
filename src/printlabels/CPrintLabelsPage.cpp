#include "printlabels/CPrintLabelsPage.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>

#include "controls/BackgroundRunner.h"
#include "controls/PageCellCommands.h"
#include "controls/CommandIds.h"
#include "controls/CommandState.h"
#include "controls/FeatureHost.h"
#include "controls/PagePopupMenu.h"
#include "controls/PageView.h"
#include "controls/Prompter.h"
#include "controls/SinglePhotoCommands.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "labels/SheetPrinting.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "printlabels/CChooseTemplateDialog.h"
#include "printlabels/LabelEditTarget.h"

namespace {
constexpr int kStaticHeight = 18;
constexpr int kMinInfoLines = 3;
constexpr int kButtonHeight = 28;
constexpr int kBottomMargin = 3;
constexpr int kGap = 3;
constexpr const char* kClearQuestion = "Are you sure you want to clear the page?";
constexpr const char* kNewFrameQuestion =
    "The photo you selected already contains a frame.  If you continue your picture will revert to the original "
    "image.  Your current frame and image enhancements will be lost.  Do you want to put a new frame on the original "
    "image?";

// The largest rectangle of a letter page's shape in the area, centred across it.
QRect LetterPageIn(const QRect& area) {
  const double aspect = LabelTemplate::kPageWidth / LabelTemplate::kPageHeight;
  int height = area.height();
  int width = int(height * aspect);
  if (width > area.width()) {
    width = area.width();
    height = int(width / aspect);
  }
  return QRect(area.left() + (area.width() - width) / 2, area.top(), width, height);
}
}  // namespace

CPrintLabelsPage::CPrintLabelsPage(FeatureHost& host, LabelTemplateList& templates, QWidget* content,
                                   QObject* parent)
    : CTabPage(content, parent), m_host(host), m_templates(templates) {
  m_view = addControl(new PageView(content), 1011);
  addControl(new QLabel(QStringLiteral("Label Template:"), content), 1050);
  m_templateInfo = addControl(new QLabel(content), 1020);
  m_templateInfo->setWordWrap(true);
  m_templateInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_templateInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

  m_output = std::make_unique<SinglePhotoCommands>(host.photoStore(), host.prompter(), host.programRunner(),
                                                   host.registry(), host.hostWindow());

  connect(m_view, &PageView::pickPhotoRequested, this, [this] { onCommand(kCommandPickPhoto); });
  connect(m_view, &PageView::deleteRequested, this, [this] { onCommand(kCommandDelete); });
  connect(m_view, &PageView::menuRequested, this, &CPrintLabelsPage::showMenu);
  connect(m_view, &PageView::pictureMoved, this, &CPrintLabelsPage::moveLabelPicture);
  connect(m_view, &PageView::selectionChanged, this, &CPrintLabelsPage::commandStateChanged);

  setLabelTemplate(templates.DefaultLabelTemplate());
}

CPrintLabelsPage::~CPrintLabelsPage() = default;

QString CPrintLabelsPage::tabText() const { return QStringLiteral("Print Labels"); }
QString CPrintLabelsPage::tabPicture() const { return QStringLiteral("label.gif"); }

QString CPrintLabelsPage::instructions() const {
  return QStringLiteral(
      "1. Click the <Templates> button at the top to change the type of Avery label you want to "
      "print out."
      "\n\n2. Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' "
      "folder and place it on an empty label."
      "  You can also double-click, hit the space bar, or hit the Enter key, on the label to put "
      "a photo into."
      "\n\n3. Once you put a photo on a label you can add a caption to the photo, add a "
      "frame, crop the photo, perform a 'Special Effect', or print the sheet of labels using the "
      "'Caption', 'Frame', 'Crop', 'Effects', and 'Print' buttons at the top.");
}

QHash<int, QRect> CPrintLabelsPage::layout(const TabPageFrame& frame) const {
  // The left column from the bottom up: the template's information, its caption, Pick a
  // Photo, and the instructions above them, clear of the button.
  const QRect& column = frame.leftColumn;
  const int infoHeight = std::min(templateInfoHeight(column.width()), column.height() / 3);
  QHash<int, QRect> at;
  at[1011] = LetterPageIn(frame.page.adjusted(0, kGap, 0, -kGap));
  at[1020] = QRect(column.left(), frame.client.height() - kBottomMargin - infoHeight, column.width(), infoHeight);
  at[1050] = QRect(column.left(), at[1020].top() - kGap - kStaticHeight, column.width(), kStaticHeight);
  at[kPickPhotoButtonId] =
      QRect(column.left(), at[1050].top() - frame.margin - kButtonHeight, column.width(), kButtonHeight);
  at[kInstructionsId] = QRect(column.topLeft(), QPoint(column.right(), at[kPickPhotoButtonId].top() - frame.margin));
  return at;
}

int CPrintLabelsPage::templateInfoHeight(int width) const {
  // As tall as the longest information of any template, so that choosing another one
  // never needs the column laid out again.
  const QFontMetrics metrics = m_templateInfo->fontMetrics();
  int height = kMinInfoLines * metrics.lineSpacing();
  for (const TemplateGroup& group : m_templates.Groups())
    for (const LabelTemplate* t : group.Templates)
      height = std::max(height, metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap,
                                                     ProductInfoText(*t).trimmed()).height());
  return height;
}

void CPrintLabelsPage::addCommandState(CommandState& state) const {
  state.labelHasPhoto = m_cells.HoldsPicture(m_view->selectedCell());
  state.sheetHasPhoto = m_cells.AnyUsed();
}

void CPrintLabelsPage::setLabelTemplate(LabelTemplate* t) {
  m_template = t;
  m_cells.Resize(t ? t->CellCount() : 0);
  m_templateInfo->setText(t ? ProductInfoText(*t).trimmed() : QString());
  m_view->setPage(t, &m_cells);
  emit commandStateChanged();
}

const ImageBitmap* CPrintLabelsPage::selectedPicture() const {
  const int selected = m_view->selectedCell();
  return m_cells.HoldsPicture(selected) ? m_cells.Cell(selected).Working.get() : nullptr;
}

bool CPrintLabelsPage::onCommand(int command) {
  switch (command) {
    case kCommandPickPhoto: pickPhoto(); return true;
    case kCommandDelete: deleteSelected(); return true;
    case kCommandClear: clearSheet(); return true;
    case kCommandChooseTemplate: chooseTemplate(); return true;
    case kCommandPrint: printSheet(); return true;
    default: return RunCellOutputCommand(command, *m_output, m_cells, m_view->selectedCell());
  }
}

std::unique_ptr<PictureEditTarget> CPrintLabelsPage::editTarget(int command) {
  const int selected = m_view->selectedCell();
  if (!m_cells.HoldsPicture(selected) || m_cells.Cell(selected).Working->isEmpty()) return nullptr;
  // A new frame goes on the photo as placed, not over an earlier frame.
  if (command == kCommandFrame && m_cells.Cell(selected).Edited) {
    if (m_host.prompter().askYesNoCancel(m_host.hostWindow(), QString::fromLatin1(kNewFrameQuestion)) !=
        Prompter::Answer::Yes)
      return nullptr;
    revertLabel(selected);
  }
  return std::make_unique<LabelEditTarget>(m_cells, selected, [this] { sheetChanged(); });
}

void CPrintLabelsPage::revertLabel(int cell) {
  const QString name = m_cells.Cell(cell).Name;
  ImageBitmap original;
  // From the photo's file, as it is now; the picture as placed when the file is gone.
  if (m_host.photoStore().LoadPhoto(original, name) != SUCCESS) original = *m_cells.Cell(cell).Base;
  m_cells.Give(cell, original, name);
  sheetChanged();
}

void CPrintLabelsPage::pickPhoto() {
  if (const std::optional<PickedPhoto> picked = AskForPhoto(m_host)) placePhoto(picked->Stem, picked->FillBlanks);
}

void CPrintLabelsPage::placePhoto(const QString& name, bool fillBlanks) {
  const PhotoStore& store = m_host.photoStore();
  PlacePhotoOnPage(m_host, *m_view, m_cells, name, fillBlanks,
                   [&store, name](ImageBitmap& picture) { return store.LoadPhoto(picture, name); });
  sheetChanged();
}

void CPrintLabelsPage::deleteSelected() {
  const int selected = m_view->selectedCell();
  if (!m_cells.IsValid(selected)) return;
  m_cells.Clear(selected);
  if (!m_cells.AnyUsed()) m_cells.Rebuild(m_template ? m_template->CellCount() : 0);
  sheetChanged();
}

void CPrintLabelsPage::clearSheet() {
  if (m_host.prompter().askYesNoCancel(m_host.hostWindow(), QString::fromLatin1(kClearQuestion)) !=
      Prompter::Answer::Yes)
    return;
  m_cells.Rebuild(m_template ? m_template->CellCount() : 0);
  sheetChanged();
}

void CPrintLabelsPage::chooseTemplate() {
  CChooseTemplateDialog dialog(m_templates, m_host.hostWindow());
  if (dialog.exec() != QDialog::Accepted || !dialog.selectedTemplate()) return;
  LabelTemplate* chosen = dialog.selectedTemplate();
  setLabelTemplate(chosen);
  m_host.settings().setLabelType(chosen->Code);
}

void CPrintLabelsPage::moveLabelPicture(int from, int to) {
  if (m_cells.Move(from, to)) sheetChanged();
}

void CPrintLabelsPage::showMenu(QPoint globalPos) {
  QMenu* menu = MakePagePopupMenu(m_host, MainTab::PrintLabels, selectedPicture() != nullptr, m_view);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPos);
}

void CPrintLabelsPage::sheetChanged() {
  m_view->refresh();
  emit commandStateChanged();
}

bool CPrintLabelsPage::printSheet() {
  if (!m_template || !m_cells.AnyUsed()) return false;
  std::unique_ptr<QPrinter> printer = m_output->choosePrinter();
  if (!printer) return false;
  printer->setDocName(QString::fromLatin1(kSheetDocumentName));
  // The worker prints a copy, so the sheet may change while the printer works.
  const LabelTemplate layout = *m_template;
  const PageCells cells = m_cells.DetachedCopy();
  BackgroundTask task;
  task.text = QStringLiteral("Printing the labels...");
  task.maximum = cells.Count();
  task.cancellable = true;
  task.objectName = QStringLiteral("printProgress");
  QPrinter& device = *printer;
  return m_host.backgroundRunner().run(task, [&device, &layout, &cells](BackgroundJob& job) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PrinterPage page;
    page.DpiX = page.DpiY = device.resolution();
    page.Size = QSize(device.width(), device.height());
    page.PhysicalOffset = device.pageRect(QPrinter::DevicePixel).topLeft().toPoint() -
                          device.paperRect(QPrinter::DevicePixel).topLeft().toPoint();
    const bool printed = PrintTemplatePage(painter, page, layout, cells, [&job](int cell, int) {
      job.reportProgress(cell);
      return !job.stopRequested();
    });
    if (!printed) device.abort();
    painter.end();
    return printed;
  });
}
