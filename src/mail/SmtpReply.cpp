#include "SmtpReply.h"

#include <algorithm>

namespace {
constexpr qsizetype kLineLimit = 512;
constexpr int kReplyLines = 100;
}  // namespace

QString PrintableServerText(const QByteArray& line) {
  QString text = QString::fromUtf8(line.left(kLineLimit));
  for (QChar& c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = u'?';
  return text;
}

SmtpReplyReader::Result SmtpReplyReader::take(SmtpReply* reply, QString* offending) {
  // Nothing is consumed until the reply is whole, so a reply split over many reads is
  // read again from its start: bounded by the limits, at most 100 lines of 512 bytes.
  SmtpReply taken;
  qsizetype start = 0;
  for (;;) {
    const qsizetype end = m_input.indexOf('\n', start);
    if (end < 0) return m_input.size() - start >= kLineLimit ? Result::TooLong : Result::NeedMore;
    if (end + 1 - start > kLineLimit) return Result::TooLong;
    QByteArray line = m_input.mid(start, end - start);
    start = end + 1;
    if (line.endsWith('\r')) line.chop(1);
    const bool digits = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) {
                          return c >= '0' && c <= '9';
                        });
    const bool last = line.size() == 3 || (line.size() > 3 && line[3] == ' ');
    const int code = digits ? line.left(3).toInt() : 0;
    if (!digits || (!last && line[3] != '-') || code < 200 || (taken.code && code != taken.code)) {
      if (offending) *offending = PrintableServerText(line);
      m_input.remove(0, start);
      return Result::Unknown;
    }
    taken.code = code;
    taken.lines << PrintableServerText(line);
    if (last) {
      m_input.remove(0, start);
      *reply = std::move(taken);
      return Result::Complete;
    }
    if (taken.lines.size() >= kReplyLines) return Result::TooLong;
  }
}
