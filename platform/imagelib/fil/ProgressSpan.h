#pragma once

// The part of the percentage range that one step of a longer operation reports in.

#include <QtGlobal>

struct ProgressSpan {
  int From = 0;
  int To = 100;

  int At(qint64 done, qint64 total) const {
    return From + int(qint64(To - From) * done / (total > 0 ? total : 1));
  }
};
