#include "getphoto/CGetPhotoWizard.h"

#include "getphoto/CNamePage.h"
#include "getphoto/COpenPhotoPage.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/PhotoScanner.h"

CGetPhotoWizard::CGetPhotoWizard(FeatureHost& host, PhotoScanner* scanner, QWidget* parent)
    : CWizardSheet(parent), m_host(host), m_scanner(scanner) {
  setObjectName(QStringLiteral("getPhotoWizard"));
  if (m_scanner && m_scanner->isAvailable()) {
    m_openPage = new COpenPhotoPage(*this);
    addPage(m_openPage);
  }
  m_pickPage = new CPickFilePage(*this);
  addPage(m_pickPage);
  m_namePage = new CNamePage(*this);
  addPage(m_namePage);
  resize(640, 440);
}

CGetPhotoWizard::~CGetPhotoWizard() = default;
