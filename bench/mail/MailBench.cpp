// One message to many recipients through CMailSender, as the e-mail command sends it: one
// connection, one transaction a recipient.
//   bench_mail PORT RECIPIENTS ROUNDS    prints "best <ms>" and "mean <ms>"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "mail/CMailSender.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_mail PORT RECIPIENTS ROUNDS\n");
    return 2;
  }
  MailServer server;
  server.host = "127.0.0.1";
  server.port = std::atoi(argv[1]);
  const int recipients = std::atoi(argv[2]);
  const int rounds = std::atoi(argv[3]);
  MailMessage message{
      "me@example.com",
      {},
      "Here's some new photos!",
      "Click on the link below to see the photo.\n\nhttp://photos.example.com/view.asp?Id=42\n\n",
      {}};
  double best = 1e300, total = 0;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    CMailSender sender;
    QString error;
    if (!sender.Connect(server, &error)) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      return 1;
    }
    for (int i = 0; i < recipients; ++i) {
      message.to = QStringLiteral("friend%1@example.org").arg(i);
      if (!sender.Send(message, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
      }
    }
    sender.Quit();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, ms);
    total += ms;
  }
  std::printf("best %.1f\nmean %.1f\n", best, total / rounds);
  return 0;
}
