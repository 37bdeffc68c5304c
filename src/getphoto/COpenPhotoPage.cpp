#include "getphoto/COpenPhotoPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/CPicturePreview.h"
#include "fil/ltfil.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/CNamePage.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/CScannerOptionsDialog.h"
#include "getphoto/PhotoScanner.h"
#include "getphoto/ScanRunner.h"
#include "controls/Prompter.h"
#include "krn/ResultCodes.h"
#include "krn/ltkrn.h"
#include "system/Folders.h"
#include "twn/lttwn.h"

COpenPhotoPage::COpenPhotoPage(CGetPhotoWizard& wizard)
    : CWizardPage(QStringLiteral("Open a New Photo"), 170), m_wizard(wizard) {
  m_file = new QRadioButton(QStringLiteral("&Open a photo in an image file"), this);
  m_file->setObjectName(QStringLiteral("1012"));
  m_device = new QRadioButton(QStringLiteral(
      "Open a photo with a scanner, digital camera, or other image capturing device."), this);
  m_device->setObjectName(QStringLiteral("1013"));
  m_sources = new QListWidget(this);
  m_sources->setObjectName(QStringLiteral("1208"));
  m_quickScan = new QCheckBox(QStringLiteral("Use &Quick Scan"), this);
  m_quickScan->setObjectName(QStringLiteral("1215"));
  m_scannerNote = new QLabel(QStringLiteral(
      "Note: For scanners Quick Scan bypasses the advanced features of the scanner and simply "
      "grabs the image.  "), this);
  m_scannerNote->setObjectName(QStringLiteral("1216"));
  m_cameraNote = new QLabel(
      QStringLiteral("For digital cameras, Quick Scan simply grabs the last photo on your camera."), this);
  m_cameraNote->setObjectName(QStringLiteral("1217"));
  for (QLabel* note : {m_scannerNote, m_cameraNote}) note->setWordWrap(true);

  InitBitmap(m_logo, 0, 0, 0);
  LoadPictureFile(GetProgramFolder() + "logo.gif", m_logo);
  m_preview = new CPicturePreview(this);
  m_preview->setObjectName(QStringLiteral("1006"));
  m_preview->setDisplayMode(CPicturePreview::Fit);
  m_preview->setFixedSize(180, 180);
  if (m_logo.hasPixels()) m_preview->setPicture(&m_logo);

  auto* choices = new QVBoxLayout;
  choices->addWidget(m_file);
  choices->addSpacing(8);
  choices->addWidget(m_device);
  auto* device = new QVBoxLayout;
  device->setContentsMargins(24, 0, 0, 0);
  device->addWidget(m_sources, 1);
  device->addWidget(m_quickScan);
  device->addWidget(m_scannerNote);
  device->addWidget(m_cameraNote);
  choices->addLayout(device, 1);

  auto* layout = new QGridLayout(this);
  layout->addWidget(m_preview, 0, 0, Qt::AlignTop);
  layout->addLayout(choices, 0, 1);
  layout->setColumnStretch(1, 1);

  connect(m_file, &QRadioButton::clicked, this, &COpenPhotoPage::chooseFile);
  connect(m_device, &QRadioButton::clicked, this, &COpenPhotoPage::chooseDevice);
  m_file->setChecked(true);
  m_quickScan->setChecked(false);
  enableDeviceControls(false);
}

COpenPhotoPage::~COpenPhotoPage() {
  m_preview->setPicture(nullptr);
  FreeBitmap(m_logo);
}

void COpenPhotoPage::onSetActive() { sheet()->setWizardButtons(CWizardSheet::Next); }

void COpenPhotoPage::enableDeviceControls(bool enable) {
  for (QWidget* control : {static_cast<QWidget*>(m_sources), static_cast<QWidget*>(m_quickScan),
                           static_cast<QWidget*>(m_scannerNote), static_cast<QWidget*>(m_cameraNote)})
    control->setEnabled(enable);
}

void COpenPhotoPage::chooseFile() {
  m_file->setChecked(true);
  enableDeviceControls(false);
}

void COpenPhotoPage::chooseDevice() {
  m_device->setChecked(true);
  enableDeviceControls(true);
  m_sources->clear();
  if (PhotoScanner* scanner = m_wizard.scanner())
    m_sources->addItems(ScanRunner::ListSources(m_wizard.host().backgroundRunner(), *scanner));
  if (m_sources->count() > 0) m_sources->setCurrentRow(0);
  sheet()->setWizardButtons(CWizardSheet::Next);
}

void COpenPhotoPage::onWizardNext() {
  if (m_file->isChecked()) {
    sheet()->setActivePage(m_wizard.pickPage());
    return;
  }
  acquire();
}

void COpenPhotoPage::acquire() {
  PhotoScanner* scanner = m_wizard.scanner();
  QListWidgetItem* source = m_sources->currentItem();
  // An empty list or no choice keeps the wizard here.
  if (!scanner || !source) return;
  if (scanner->select(source->text()) != SUCCESS) return;
  ImageBitmap& working = m_wizard.host().workingPicture();
  FreeBitmap(working);
  InitBitmap(working, 0, 0, 0);
  const int flags = m_quickScan->isChecked() ? TWAIN_QUICK_SCAN : TWAIN_WITH_OPTIONS;
  const int result = ScanRunner::Run(m_wizard.host().backgroundRunner(), *scanner, working, flags,
                                     CScannerOptionsDialog::callback(this));
  if (result <= 0) {
    // The device's own messages are not shown by the library: say what went wrong.
    if (result != ERROR_USER_ABORT)
      m_wizard.host().prompter().showError(
          this, QStringLiteral("Brivane could not get a picture from '%1'.  %2")
                    .arg(source->text(), QString::fromLatin1(ResultText(result))));
    return;
  }
  m_wizard.namePage()->setSource(this);
  sheet()->setActivePage(m_wizard.namePage());
}
