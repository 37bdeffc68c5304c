#pragma once

struct ImageBitmap;

// The picture an editing dialog works on, as the current tab hands it over: the selected
// photo at full size, or the selected label's picture. The dialog rewrites picture() and
// then calls pictureChanged(), which stores the photo again or repaints the sheet.
class PictureEditTarget {
 public:
  virtual ~PictureEditTarget() = default;
  virtual ImageBitmap& picture() = 0;
  virtual void pictureChanged() = 0;
};
