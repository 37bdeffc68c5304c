#include "fun/CPavonelPage.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QFileInfo>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/CFilePreview.h"
#include "fun/CNamePavonelPage.h"
#include "fun/CShowBuilderWizard.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"
#include "library/PreviewDecoder.h"

namespace {
constexpr int kPreviewSide = 150;

QTreeWidget* MakeList(int id, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QString::number(id));
  list->setColumnCount(2);
  list->setHeaderLabels({QStringLiteral("Photo"), QStringLiteral("Description")});
  list->setRootIsDecorated(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setAllColumnsShowFocus(true);
  list->header()->setSectionsClickable(true);
  list->header()->setSortIndicatorShown(false);
  // FitColumns shares the width out; a stretched last section would keep a width of its own.
  list->header()->setStretchLastSection(false);
  return list;
}
}  // namespace

CPavonelPage::CPavonelPage(CShowBuilderWizard& wizard)
    : CWizardPage(QStringLiteral("Slide Show"), 239), m_wizard(wizard) {
  const bool saver = wizard.kind() == ShowKind::ScreenSaver;
  m_caption = new QLabel(saver ? QStringLiteral("Select the photos you want to be displayed in your screen saver.")
                               : QStringLiteral("Select the photos you want to be displayed in your slide show."),
                         this);
  m_caption->setObjectName(QStringLiteral("1038"));
  m_caption->setAutoFillBackground(true);
  m_caption->setMargin(6);
  QPalette yellow = m_caption->palette();
  yellow.setColor(QPalette::Window, QColor(255, 255, 128));
  yellow.setColor(QPalette::WindowText, Qt::black);
  m_caption->setPalette(yellow);

  m_available = MakeList(1018, this);
  m_chosen = MakeList(1256, this);
  m_add = new QPushButton(QStringLiteral("&Add ->"), this);
  m_add->setObjectName(QStringLiteral("1167"));
  m_addAll = new QPushButton(QStringLiteral("Add A&ll ->"), this);
  m_addAll->setObjectName(QStringLiteral("1168"));
  m_remove = new QPushButton(QStringLiteral("<- &Remove"), this);
  m_remove->setObjectName(QStringLiteral("1257"));
  m_clear = new QPushButton(QStringLiteral("&Clear"), this);
  m_clear->setObjectName(QStringLiteral("1005"));

  m_preview = new CFilePreview(kPreviewSide, this);
  m_preview->setObjectName(QStringLiteral("1006"));
  connect(m_preview, &CFilePreview::viewRequested, this, [this](const QString& path) {
    m_wizard.host().viewFullSize(decoder().full(), NameForStem(QFileInfo(path).completeBaseName()));
  });

  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* button : {m_add, m_addAll, m_remove, m_clear}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  buttons->addSpacing(8);
  buttons->addWidget(m_preview, 0, Qt::AlignHCenter);
  buttons->addStretch(1);
  auto* layout = new QGridLayout(this);
  layout->addWidget(m_caption, 0, 0, 1, 3);
  layout->addWidget(m_available, 1, 0);
  layout->addLayout(buttons, 1, 1);
  layout->addWidget(m_chosen, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(2, 1);

  connect(m_add, &QPushButton::clicked, this, &CPavonelPage::add);
  connect(m_addAll, &QPushButton::clicked, this, &CPavonelPage::addAll);
  connect(m_remove, &QPushButton::clicked, this, &CPavonelPage::remove);
  connect(m_clear, &QPushButton::clicked, this, &CPavonelPage::clear);
  connect(m_available->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { sortList(m_available, column); });
  connect(m_chosen->header(), &QHeaderView::sectionClicked, this,
          [this](int column) { sortList(m_chosen, column); });
  connect(m_chosen, &QTreeWidget::itemSelectionChanged, this, &CPavonelPage::updateControls);
  connect(m_available, &QTreeWidget::itemDoubleClicked, this, &CPavonelPage::add);
  // The lists' widths are known only once they are laid out, and change with the window.
  m_available->viewport()->installEventFilter(this);
  m_chosen->viewport()->installEventFilter(this);
  m_timer.setInterval(100);
  connect(&m_timer, &QTimer::timeout, this, &CPavonelPage::checkSelection);

  Fill(m_available, AvailableShowPhotos(m_wizard.host().photoStore().Folder()));
  if (m_available->topLevelItemCount() > 0) m_available->setCurrentItem(m_available->topLevelItem(0));
  updateControls();
}

CPavonelPage::~CPavonelPage() = default;

PreviewDecoder& CPavonelPage::decoder() const { return m_preview->decoder(); }

void CPavonelPage::Fill(QTreeWidget* list, const QList<ShowPhoto>& photos) {
  list->clear();
  for (const ShowPhoto& photo : photos)
    list->addTopLevelItem(new QTreeWidgetItem({photo.Stem, photo.Description}));
  FitColumns(list);
}

void CPavonelPage::FitColumns(QTreeWidget* list) {
  list->resizeColumnToContents(0);
  const int least = list->header()->minimumSectionSize();
  const int width = list->viewport()->width();
  // Description keeps at least its header's least width, so no sideways scroll bar appears.
  const int photo = qMax(least, qMin(list->columnWidth(0), width - least));
  list->setColumnWidth(0, photo);
  list->setColumnWidth(1, qMax(least, width - photo));
}

bool CPavonelPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == m_available->viewport()) FitColumns(m_available);
    if (watched == m_chosen->viewport()) FitColumns(m_chosen);
  }
  return CWizardPage::eventFilter(watched, event);
}

QList<ShowPhoto> CPavonelPage::Rows(const QTreeWidget* list) {
  QList<ShowPhoto> rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    rows.append({list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1)});
  return rows;
}

QStringList CPavonelPage::chosenStems() const {
  QStringList stems;
  for (const ShowPhoto& photo : Rows(m_chosen)) stems.append(photo.Stem);
  return stems;
}

void CPavonelPage::add() {
  QTreeWidgetItem* item = m_available->currentItem();
  if (!item || !item->isSelected()) return;
  m_chosen->addTopLevelItem(new QTreeWidgetItem({item->text(0), item->text(1)}));
  FitColumns(m_chosen);
  const int next = (m_available->indexOfTopLevelItem(item) + 1) % m_available->topLevelItemCount();
  m_available->setCurrentItem(m_available->topLevelItem(next));
  updateControls();
}

void CPavonelPage::addAll() {
  for (const ShowPhoto& photo : Rows(m_available))
    m_chosen->addTopLevelItem(new QTreeWidgetItem({photo.Stem, photo.Description}));
  FitColumns(m_chosen);
  updateControls();
}

void CPavonelPage::remove() {
  QTreeWidgetItem* item = m_chosen->currentItem();
  if (!item || !item->isSelected()) return;
  delete m_chosen->takeTopLevelItem(m_chosen->indexOfTopLevelItem(item));
  m_chosen->clearSelection();
  FitColumns(m_chosen);
  updateControls();
}

void CPavonelPage::clear() {
  m_chosen->clear();
  FitColumns(m_chosen);
  updateControls();
}

void CPavonelPage::sortList(QTreeWidget* list, int column) {
  bool& ascending = list == m_available ? m_availableAscending : m_chosenAscending;
  ascending = !ascending;
  const QString selected = list->currentItem() ? list->currentItem()->text(0) : QString();
  QList<ShowPhoto> rows = Rows(list);
  SortShowPhotos(rows, column, ascending);
  Fill(list, rows);
  list->header()->setSortIndicatorShown(true);
  list->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
  if (list == m_available) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(0) == selected) list->setCurrentItem(list->topLevelItem(i));
  }
  updateControls();
}

void CPavonelPage::updateControls() {
  if (m_available->selectedItems().isEmpty() && m_available->topLevelItemCount() > 0)
    m_available->setCurrentItem(m_available->topLevelItem(0));
  const bool any = m_chosen->topLevelItemCount() > 0;
  m_remove->setEnabled(!m_chosen->selectedItems().isEmpty());
  m_clear->setEnabled(any);
  m_add->setEnabled(m_available->topLevelItemCount() > 0);
  m_addAll->setEnabled(m_available->topLevelItemCount() > 0);
  if (sheet() && sheet()->activePage() == this)
    sheet()->setWizardButtons(any ? CWizardSheet::Next : 0);
}

void CPavonelPage::checkSelection() {
  const QList<QTreeWidgetItem*> selected = m_available->selectedItems();
  m_preview->showFile(selected.isEmpty() ? QString()
                                         : m_wizard.host().photoStore().PhotoPath(selected.first()->text(0)));
}

void CPavonelPage::onSetActive() {
  updateControls();
  m_timer.start();
}

void CPavonelPage::onKillActive() { m_timer.stop(); }

void CPavonelPage::onWizardNext() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_wizard.setShowPhotos(chosenStems());
  QApplication::restoreOverrideCursor();
  sheet()->setActivePage(m_wizard.namePage());
}
