// The process-wide table of comments that saves without comments of their own write into
// files. Any thread may set or read it, so every access takes the lock.
#include "fil/SaveCommentTable.h"

#include <mutex>

#include "fil/ltfil.h"

namespace {
std::mutex gCommentsMutex;
SaveComments gComments;
}  // namespace

int SetSaveComment(int type, const QString& text) {
  const std::lock_guard lock(gCommentsMutex);
  return gComments.Set(type, text);
}

QString GetSaveComment(int type) {
  const std::lock_guard lock(gCommentsMutex);
  return gComments.Get(type);
}

SaveComments SaveCommentTableNow() {
  const std::lock_guard lock(gCommentsMutex);
  return gComments;
}
