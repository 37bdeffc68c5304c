#pragma once

#include <QString>

// A profile file that exists but is left unused and untouched (see Profile.h), for the
// program to tell its user about.
struct ProfileNotice {
  // The file's absolute path.
  QString Path;
  // Why, in words that follow "it is not used: ": "it is not a regular file",
  // "line 3 is not a comment, a [section] or a key=value line".
  QString Reason;
};
