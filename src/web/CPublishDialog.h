#pragma once

#include "web/CTransferDialog.h"
#include "websync/PublishRun.h"

class FeatureHost;
class InternetSession;
class PublishToWeb;

// "Put my photos and albums on the web": the publishing run with its counts and bars.
// At the end it offers to show the photos online, or shows the Web Space dialog when the
// run stopped for lack of space, and then closes.
class CPublishDialog : public CTransferDialog {
  Q_OBJECT

 public:
  CPublishDialog(FeatureHost& host, PublishToWeb& publishing, InternetSession& session, PublishRequest request,
                 QWidget* parent);

  const PublishResult& result() const { return m_result; }

 protected:
  BackgroundRunner::StopJob startRun() override;
  void afterRun() override;

 private:
  FeatureHost& m_host;
  PublishToWeb& m_publishing;
  InternetSession& m_session;
  PublishRequest m_request;
  PublishResult m_result;
};
