#pragma once

#include "controls/CWizardSheet.h"
#include "library/ServiceSite.h"

class CRegisterDemoPage;
class CRegisterSendPage;
class CRegisterTypePage;
class CRegisterWherePage;
class FeatureHost;

// Signs a new user up with the photo-sharing service, or checks the user id and password
// of an existing account; the outcome is stored as UserId and Password in the settings.
class CServiceAccountWizard : public CWizardSheet {
  Q_OBJECT

 public:
  // The type page's two choices, by their radio buttons' ids.
  enum Choice { NewUser = 1151, ExistingUser = 1152 };

  CServiceAccountWizard(FeatureHost& host, ServiceSite site, QWidget* parent = nullptr);

  FeatureHost& host() const { return m_host; }
  const ServiceSite& site() const { return m_site; }
  // The web site's host name as the texts name it (without a port).
  QString siteName() const;

  Choice choice() const;
  // The typed user id and password of the existing-account choice.
  QString typedUserId() const;
  QString typedPassword() const;

  CRegisterTypePage* typePage() const { return m_type; }
  CRegisterDemoPage* demoPage() const { return m_demo; }
  CRegisterWherePage* wherePage() const { return m_where; }
  CRegisterSendPage* sendPage() const { return m_send; }

 private:
  FeatureHost& m_host;
  ServiceSite m_site;
  CRegisterTypePage* m_type;
  CRegisterDemoPage* m_demo;
  CRegisterWherePage* m_where;
  CRegisterSendPage* m_send;
};
