// The SMTP reply reader: what a mail server sends, in pieces of any size, gives the same
// replies as when it comes at once; every reply has a code of 200 to 999 and at most 100
// printable lines of at most 512 characters, and a hostile server can never make the reader
// hold more than about one reply. The first byte picks the size of the pieces.

#include <vector>

#include <QByteArray>

#include "FuzzSupport.h"
#include "mail/SmtpReply.h"

namespace {
struct Outcome {
  std::vector<SmtpReply> replies;
  SmtpReplyReader::Result end = SmtpReplyReader::Result::NeedMore;
  QString offending;
};

// Feeds the bytes in pieces of step, taking every reply, until the reader gives up.
Outcome Read(const QByteArray& bytes, qsizetype step) {
  Outcome outcome;
  SmtpReplyReader reader;
  for (qsizetype at = 0; at < bytes.size(); at += step) {
    reader.append(bytes.mid(at, step));
    for (;;) {
      SmtpReply reply;
      outcome.end = reader.take(&reply, &outcome.offending);
      if (outcome.end != SmtpReplyReader::Result::Complete) break;
      outcome.replies.push_back(reply);
    }
    if (outcome.end != SmtpReplyReader::Result::NeedMore) return outcome;
  }
  return outcome;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const qsizetype step = 1 + data[0] % 64;
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const Outcome whole = Read(bytes, qMax<qsizetype>(1, bytes.size()));
  const Outcome pieces = Read(bytes, step);

  FUZZ_EXPECT(whole.end == pieces.end, "pieces end the same way as the whole");
  FUZZ_EXPECT(whole.replies.size() == pieces.replies.size(), "pieces give the same replies");
  for (size_t i = 0; i < whole.replies.size() && i < pieces.replies.size(); ++i)
    FUZZ_EXPECT(whole.replies[i].code == pieces.replies[i].code &&
                    whole.replies[i].lines == pieces.replies[i].lines,
                "pieces give the same replies");
  if (whole.end == SmtpReplyReader::Result::Unknown)
    FUZZ_EXPECT(whole.offending == pieces.offending, "the same line is named");
  for (const SmtpReply& reply : whole.replies) {
    FUZZ_EXPECT(reply.code >= 200 && reply.code <= 999, "codes are three digits, 200 or more");
    FUZZ_EXPECT(!reply.lines.isEmpty() && reply.lines.size() <= 100, "a reply has 1 to 100 lines");
    for (const QString& line : reply.lines) {
      FUZZ_EXPECT(line.size() <= 512, "a line is at most 512 characters");
      FUZZ_EXPECT(line.startsWith(QString::number(reply.code)), "every line carries the code");
      for (const QChar c : line) FUZZ_EXPECT(c.unicode() >= 0x20 && c.unicode() != 0x7f, "lines are printable");
    }
  }
  return 0;
}
