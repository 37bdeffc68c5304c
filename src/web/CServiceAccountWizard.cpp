#include "web/CServiceAccountWizard.h"

#include "web/CRegisterDemoPage.h"
#include "web/CRegisterSendPage.h"
#include "web/CRegisterTypePage.h"
#include "web/CRegisterWherePage.h"

CServiceAccountWizard::CServiceAccountWizard(FeatureHost& host, ServiceSite site, QWidget* parent)
    : CWizardSheet(parent), m_host(host), m_site(std::move(site)) {
  setObjectName(QStringLiteral("serviceAccountWizard"));
  m_type = new CRegisterTypePage(*this);
  m_demo = new CRegisterDemoPage(*this);
  m_where = new CRegisterWherePage(*this);
  m_send = new CRegisterSendPage(*this);
  addPage(m_type);
  addPage(m_demo);
  addPage(m_where);
  addPage(m_send);
  resize(560, 470);
}

QString CServiceAccountWizard::siteName() const { return ServiceSite::HostName(m_site.webSiteHost); }

CServiceAccountWizard::Choice CServiceAccountWizard::choice() const { return m_type->choice(); }
QString CServiceAccountWizard::typedUserId() const { return m_type->userId(); }
QString CServiceAccountWizard::typedPassword() const { return m_type->password(); }
