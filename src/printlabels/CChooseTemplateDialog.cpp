#include "printlabels/CChooseTemplateDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

#include "controls/OkCancelButtons.h"
#include "dis/ltdis.h"
#include "labels/LabelTemplates.h"
#include "labels/TemplatePreview.h"

namespace {
const QColor kNoteColour(255, 255, 128);
constexpr int kPreviewBorder = 6;
constexpr char kNote[] =
    "Please know that you do not have to use Avery labels to print.  You can print on any paper you want "
    "to. This simply provides you with different ways you can print your pictures.  And it just so "
    "happens that it will fit on Avery Labels.  Feel free to print on anything you want to print on.";
}  // namespace

CChooseTemplateDialog::CChooseTemplateDialog(LabelTemplateList& templates, QWidget* parent)
    : QDialog(parent), m_templates(templates) {
  setObjectName(QStringLiteral("139"));
  setWindowTitle(QStringLiteral("Choose a Template"));

  m_tabs = new QTabBar(this);
  m_tabs->setObjectName(QStringLiteral("1007"));
  m_tabs->setExpanding(false);
  m_tabs->setUsesScrollButtons(true);
  for (const TemplateGroup& group : templates.Groups()) m_tabs->addTab(group.Name);

  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("1025"));
  m_list->setMinimumWidth(300);

  m_preview = new QLabel(this);
  m_preview->setObjectName(QStringLiteral("1010"));
  m_preview->setFixedSize(kTemplatePreviewSize + QSize(2 * kPreviewBorder, 2 * kPreviewBorder));
  m_preview->setAlignment(Qt::AlignCenter);

  m_info = new QPlainTextEdit(this);
  m_info->setObjectName(QStringLiteral("1037"));
  m_info->setReadOnly(true);
  m_info->setMinimumHeight(96);
  m_info->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* note = new QLabel(QString::fromLatin1(kNote), this);
  note->setObjectName(QStringLiteral("1035"));
  note->setWordWrap(true);
  note->setMargin(6);
  note->setAutoFillBackground(true);
  QPalette colours = note->palette();
  colours.setColor(QPalette::Window, kNoteColour);
  colours.setColor(QPalette::WindowText, Qt::black);
  note->setPalette(colours);

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(m_tabs, 0, 0, 1, 2);
  layout->addWidget(m_list, 1, 0, 2, 1);
  layout->addWidget(m_preview, 1, 1, Qt::AlignHCenter | Qt::AlignTop);
  layout->addWidget(m_info, 2, 1);
  layout->addWidget(note, 3, 0, 1, 2);
  layout->addWidget(buttons, 4, 0, 1, 2);
  layout->setColumnStretch(0, 3);
  layout->setColumnStretch(1, 2);
  layout->setRowStretch(2, 1);
  resize(640, 440);

  connect(m_tabs, &QTabBar::currentChanged, this, &CChooseTemplateDialog::showGroup);
  connect(m_list, &QListWidget::currentRowChanged, this, &CChooseTemplateDialog::showTemplate);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &CChooseTemplateDialog::accept);
  showGroup(m_tabs->currentIndex());
}

void CChooseTemplateDialog::showGroup(int tab) {
  m_list->clear();
  m_shown.clear();
  // By position, so that two groups of the same name each show their own templates.
  if (tab >= 0 && tab < int(m_templates.Groups().size())) m_shown = m_templates.Groups()[size_t(tab)].Templates;
  for (const LabelTemplate* t : m_shown) m_list->addItem(t->Code + QLatin1Char(' ') + t->Name);
  if (!m_shown.empty()) m_list->setCurrentRow(0);
  else showTemplate(-1);
}

void CChooseTemplateDialog::showTemplate(int row) {
  LabelTemplate* t = row >= 0 && row < int(m_shown.size()) ? m_shown[size_t(row)] : nullptr;
  if (!t) {
    m_preview->clear();
    m_info->clear();
    return;
  }
  DrawTemplatePreview(*t);
  m_preview->setPixmap(QPixmap::fromImage(MakeDeviceBitmap(t->Preview)));
  m_info->setPlainText(ProductInfoText(*t).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

LabelTemplate* CChooseTemplateDialog::selectedTemplate() const {
  const int row = m_list->currentRow();
  return row >= 0 && row < int(m_shown.size()) ? m_shown[size_t(row)] : nullptr;
}

void CChooseTemplateDialog::accept() {
  // Any group's template may be chosen, whatever its group is called.
  if (!selectedTemplate()) return;
  QDialog::accept();
}
