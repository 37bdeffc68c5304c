#pragma once

#include <QString>

// What the name check decided about a typed photo name.
enum class NameVerdict {
  Accepted,
  Empty,    // nothing but blanks
  Unsafe,   // would name a file outside the My Photos folder
  TooLong,  // more than 60 characters
  Taken,    // a stored photo's name begins with it, or its files are already there
};

struct NameCheck {
  NameVerdict Verdict = NameVerdict::Empty;
  QString Name;     // the typed text without blanks at either end
  QString Message;  // what to tell the user; empty when accepted

  bool accepted() const { return Verdict == NameVerdict::Accepted; }
};
