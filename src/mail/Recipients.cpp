#include "mail/Recipients.h"

QStringList SplitRecipients(const QString& text) {
  QStringList recipients;
  for (const QString& piece : text.split(QLatin1Char(';'))) {
    const QString address = piece.trimmed();
    if (!address.isEmpty()) recipients.append(address);
  }
  return recipients;
}

QString AppendRecipients(const QString& text, const QString& chosen) {
  if (text.trimmed().isEmpty()) return chosen;
  return text.trimmed().endsWith(QLatin1Char(';')) ? text + chosen : text + QLatin1Char(';') + chosen;
}
