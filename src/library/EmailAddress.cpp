#include "library/EmailAddress.h"

bool IsValidEmail(const QString& text) {
  const qsizetype at = text.indexOf(QLatin1Char('@'), 1);
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  return at > 0 && dot >= 0 && dot >= text.size() - 4;
}
