#pragma once

#include <functional>

#include <QString>

// How the program's transfers behave; the internet session holds one set.
struct InternetOptions {
  QString agent = QStringLiteral("Brivane");
  // A certificate file trusted besides the system's authorities: the certificate of a
  // service that a family hosts for itself. Empty: the system's authorities only.
  QString caFile;
  int connectTimeoutSeconds = 20;
  // A transfer that moves no byte for this long has stalled and ends with an error.
  int stallTimeoutSeconds = 30;
  // Answers of the service are short texts; a longer one is refused.
  qint64 answerLimitBytes = 1024 * 1024;
  // FTP active mode: the address the server connects back to ("-": the address of the
  // control connection).
  QString activeAddress = QStringLiteral("-");
  // How long active mode waits for the server's data connection before falling back to
  // passive mode.
  int activeAcceptTimeoutMs = 5000;
};

// Asked often during a transfer (at least once a second); true ends the transfer.
using StopCheck = std::function<bool()>;
