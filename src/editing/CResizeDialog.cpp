#include "editing/CResizeDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/OkCancelButtons.h"
#include "controls/PictureEditTarget.h"
#include "controls/Prompter.h"
#include "editing/DialogParts.h"
#include "krn/ltkrn.h"

CResizeDialog::CResizeDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target), m_own(OwnSizeFields::ForPicture(target.picture())) {
  setObjectName(QStringLiteral("238"));
  setWindowTitle(QStringLiteral("Resize"));

  auto* presets = new QGroupBox(QStringLiteral("Preset Sizes"), this);
  auto* presetLayout = new QGridLayout(presets);
  m_sizes = new QButtonGroup(this);
  int row = 0;
  for (const ResizePreset& preset : ResizePresets()) {
    auto* button = Named(new QRadioButton(QString::fromLatin1(preset.Label), presets), preset.Button);
    m_sizes->addButton(button, preset.Button);
    presetLayout->addWidget(button, row % 4, row / 4);
    ++row;
  }
  auto* own = Named(new QRadioButton(QStringLiteral("&I want to make my own size"), presets), kOwnSizeButton);
  m_sizes->addButton(own, kOwnSizeButton);
  presetLayout->addWidget(own, 4, 0, 1, 2);

  auto* widthLabel = Named(new QLabel(QStringLiteral("Width"), this), 1240);
  auto* heightLabel = Named(new QLabel(QStringLiteral("Height"), this), 1241);
  m_width = Named(new QLineEdit(this), 1250);
  m_height = Named(new QLineEdit(this), 1251);
  m_keepRatio = Named(new QCheckBox(QStringLiteral("&Maintain aspect ratio of"), this), 1252);
  m_ratio = Named(new QLineEdit(this), 1253);
  auto* toOne = Named(new QLabel(QStringLiteral("to 1"), this), 1254);
  widthLabel->setBuddy(m_width);
  heightLabel->setBuddy(m_height);
  m_ownSizeControls = {widthLabel, heightLabel, m_width, m_height, m_keepRatio, m_ratio, toOne};
  for (QWidget* control : m_ownSizeControls) control->setEnabled(false);

  QDialogButtonBox* buttons = OkCancelButtons(this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_ok->setEnabled(false);

  auto* ownLayout = new QGridLayout;
  ownLayout->addWidget(widthLabel, 0, 0);
  ownLayout->addWidget(m_width, 0, 1);
  ownLayout->addWidget(heightLabel, 1, 0);
  ownLayout->addWidget(m_height, 1, 1);
  ownLayout->addWidget(m_keepRatio, 2, 0);
  ownLayout->addWidget(m_ratio, 2, 1);
  ownLayout->addWidget(toOne, 2, 2);
  auto* intro = new QLabel(QStringLiteral("You can resize the image to one of the preset sizes listed or make your own size."), this);
  intro->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(presets);
  layout->addLayout(ownLayout);
  layout->addWidget(buttons);
  showFields();

  connect(m_sizes, &QButtonGroup::idClicked, this, &CResizeDialog::choose);
  connect(m_width, &QLineEdit::editingFinished, this, &CResizeDialog::widthLeft);
  connect(m_height, &QLineEdit::editingFinished, this, &CResizeDialog::heightLeft);
}

void CResizeDialog::choose(int button) {
  const bool ownSize = button == kOwnSizeButton;
  for (QWidget* control : m_ownSizeControls) control->setEnabled(ownSize);
  m_ok->setEnabled(true);
  m_result = QSize(0, 0);
  for (const ResizePreset& preset : ResizePresets())
    if (preset.Button == button) m_result = QSize(preset.Width, preset.Height);
  if (ownSize) m_width->setFocus();
}

bool CResizeDialog::readFields() {
  bool number = false;
  const int width = m_width->text().trimmed().toInt(&number);
  QLineEdit* wrong = number ? nullptr : m_width;
  const int height = m_height->text().trimmed().toInt(&number);
  if (!number && !wrong) wrong = m_height;
  if (wrong) {
    m_host.prompter().showError(this, QStringLiteral("Please enter an integer."));
    wrong->setFocus();
    wrong->selectAll();
    return false;
  }
  m_own.Width = width;
  m_own.Height = height;
  m_own.Ratio = m_ratio->text();
  m_own.KeepRatio = m_keepRatio->isChecked();
  return true;
}

void CResizeDialog::showFields() {
  m_width->setText(QString::number(m_own.Width));
  m_height->setText(QString::number(m_own.Height));
  m_ratio->setText(m_own.Ratio);
  m_keepRatio->setChecked(m_own.KeepRatio);
}

void CResizeDialog::widthLeft() {
  if (!readFields()) return;
  m_own.widthLeft();
  showFields();
}

void CResizeDialog::heightLeft() {
  if (!readFields()) return;
  m_own.heightLeft();
  showFields();
}

void CResizeDialog::accept() {
  QSize size = m_result;
  if (size.isNull()) {
    if (!readFields()) return;
    size = QSize(m_own.Width, m_own.Height);
  }
  const ImageBitmap& picture = m_target.picture();
  const QString problem = ResizeSizeProblem(size.width(), size.height(), picture.BitsPerPixel, MachineMemoryBytes());
  if (!problem.isEmpty()) {
    m_host.prompter().showError(this, problem);
    return;
  }
  BackgroundTask task;
  task.text = QStringLiteral("Resizing the photo...");
  task.maximum = 100;
  task.cancellable = true;
  task.objectName = QStringLiteral("resizeProgress");
  auto [result, resized] = m_host.backgroundRunner().run(task, [picture = ImageBitmap(picture), size](BackgroundJob&) mutable {
    const int code = ResizeToShownSize(picture, size.width(), size.height());
    return std::make_pair(code, std::move(picture));
  });
  if (result == ERROR_USER_ABORT) return;
  if (result != SUCCESS) {
    m_host.prompter().showError(this, QStringLiteral("The photo could not be resized: %1")
                                          .arg(QString::fromUtf8(ResultText(result))));
    return;
  }
  m_result = size;
  m_target.picture() = std::move(resized);
  m_target.pictureChanged();
  QDialog::accept();
}
