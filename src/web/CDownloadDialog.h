#pragma once

#include "web/CTransferDialog.h"
#include "websync/RetrieveRun.h"

class FeatureHost;
class InternetSession;

// "Downloading your photos": the account's photos and albums retrieved into this
// program, after the account wizard found an existing account.
class CDownloadDialog : public CTransferDialog {
  Q_OBJECT

 public:
  CDownloadDialog(FeatureHost& host, InternetSession& session, RetrieveRequest request, QWidget* parent);

  const RetrieveResult& result() const { return m_result; }

 protected:
  BackgroundRunner::StopJob startRun() override;
  void afterRun() override;

 private:
  FeatureHost& m_host;
  InternetSession& m_session;
  RetrieveRequest m_request;
  RetrieveResult m_result;
};
