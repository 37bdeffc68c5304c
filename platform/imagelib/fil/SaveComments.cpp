#include "fil/SaveComments.h"

#include "krn/ResultCodes.h"

SaveComments SaveComments::Description(const QString& text) {
  SaveComments comments;
  comments.Set(COMMENT_DESCRIPTION, text);
  return comments;
}

int SaveComments::Set(int type, const QString& text) {
  if (type < 0 || type >= COMMENT_TYPE_COUNT) return ERROR_INV_PARAMETER;
  // Empty texts are not kept, so "cleared" and "never set" compare equal.
  if (text.isEmpty())
    texts_.remove(type);
  else
    texts_.insert(type, text);
  return SUCCESS;
}

QString SaveComments::Get(int type) const { return texts_.value(type); }
