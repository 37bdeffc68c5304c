#pragma once

#include <memory>

#include <QString>

#include "inet/InternetOptions.h"

class ServiceConnection;

// The program's one internet handle: the options every transfer follows, the stop check
// of the worker that uses it, and the one cached connection to the service. One thread
// at a time uses a session (the dialogs that reach the service are modal).
class InternetSession {
 public:
  // Null, with the reason in error, when the transfer library cannot be set up.
  static std::unique_ptr<InternetSession> Open(InternetOptions options, QString* error = nullptr);
  ~InternetSession();

  const InternetOptions& options() const { return m_options; }
  void setOptions(InternetOptions options) { m_options = std::move(options); }

  // Every transfer asks it while it runs; empty: nothing stops transfers.
  void setStopCheck(StopCheck stop) { m_stop = std::move(stop); }
  const StopCheck& stopCheck() const { return m_stop; }
  bool stopRequested() const { return m_stop && m_stop(); }

  // The cached connection every service request travels on; null until the first.
  ServiceConnection* serviceConnection() const { return m_connection.get(); }
  void setServiceConnection(std::unique_ptr<ServiceConnection> connection);

 private:
  explicit InternetSession(InternetOptions options);

  InternetOptions m_options;
  StopCheck m_stop;
  std::unique_ptr<ServiceConnection> m_connection;
};
