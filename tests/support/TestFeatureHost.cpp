#include "support/TestFeatureHost.h"

#include "library/ServiceSite.h"
#include "library/Settings.h"

#include "krn/ltkrn.h"

TestFeatureHost::TestFeatureHost(PhotoStore& store, Settings& settings, Prompter& prompter,
                                 const QString& registryFile)
    : m_store(store), m_settings(settings), m_prompter(prompter), m_registry(registryFile) {
  InitBitmap(working, 0, 0, 0);
}

TestFeatureHost::~TestFeatureHost() { FreeBitmap(working); }

InternetSession* TestFeatureHost::internetSession() {
  if (internetUnavailable) return nullptr;
  if (!internet) internet = InternetSession::Open(ServiceSite::Read(m_settings.file()).internetOptions());
  return internet.get();
}
