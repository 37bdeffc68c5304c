#pragma once

#include <memory>

#include <QString>

#include "krn/ImageBitmap.h"

// One label of a sheet or one place of an album page. Cell k of a page is column
// k % columns of row k / columns.
struct PageCell {
  // The photo's name in the store (file name without folder and extension), or empty.
  QString Name;
  // The picture as placed, and the one painted and edited; shared with every cell of
  // the page that received the same picture.
  std::shared_ptr<ImageBitmap> Base;
  std::shared_ptr<ImageBitmap> Working;
  // Set once an editing dialog has changed the working picture.
  bool Edited = false;

  // What menus and the filling of blanks look at. A photo that could not be decoded
  // still counts: it holds an empty picture.
  bool HoldsPicture() const { return Working != nullptr; }
  // What the tests whether a page is empty look at.
  bool IsUsed() const { return Base != nullptr; }
};
