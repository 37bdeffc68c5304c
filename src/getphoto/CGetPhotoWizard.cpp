#include "getphoto/CGetPhotoWizard.h"

#include "getphoto/CNamePage.h"
#include "getphoto/COpenPhotoPage.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/PhotoScanner.h"

CGetPhotoWizard::CGetPhotoWizard(const GetPhotoHost& host, QWidget* parent)
    : CWizardSheet(parent), m_host(host) {
  setObjectName(QStringLiteral("getPhotoWizard"));
  if (m_host.Scanner && m_host.Scanner->isAvailable()) {
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
