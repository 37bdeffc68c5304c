#include "krn/ltkrn.h"

int BitmapListCreate(BitmapList& list) {
  list.Items.clear();
  return SUCCESS;
}

int BitmapListTake(BitmapList& list, int index, ImageBitmap& bmp) {
  if (index < 0 || index >= list.Items.size()) return ERROR_INV_PARAMETER;
  bmp = list.Items.takeAt(index);
  return SUCCESS;
}

int BitmapListInsert(BitmapList& list, int index, const ImageBitmap& bmp) {
  if (index < 0 || index > list.Items.size()) return ERROR_INV_PARAMETER;
  list.Items.insert(index, bmp);
  return SUCCESS;
}

int BitmapListDelete(BitmapList& list, int index, int count) {
  if (index < 0 || count < 0 || index > list.Items.size() - count) return ERROR_INV_PARAMETER;
  list.Items.remove(index, count);
  return SUCCESS;
}

int BitmapListCount(const BitmapList& list) { return int(list.Items.size()); }
