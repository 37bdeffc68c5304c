// The process-wide table of comments that saves write into files. The thumbnail worker
// reads it while the interface thread sets it, so every access takes the lock.
#include <array>
#include <mutex>

#include "fil/ltfil.h"

namespace {
std::mutex gCommentsMutex;
std::array<QString, COMMENT_TYPE_COUNT> gComments;

bool ValidType(int type) { return type >= 0 && type < COMMENT_TYPE_COUNT; }
}  // namespace

int SetSaveComment(int type, const QString& text) {
  if (!ValidType(type)) return ERROR_INV_PARAMETER;
  const std::lock_guard lock(gCommentsMutex);
  gComments[size_t(type)] = text;
  return SUCCESS;
}

QString GetSaveComment(int type) {
  if (!ValidType(type)) return QString();
  const std::lock_guard lock(gCommentsMutex);
  return gComments[size_t(type)];
}
