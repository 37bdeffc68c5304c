#include <gtest/gtest.h>

#include "library/PhotoListModel.h"

namespace {
PhotoItemPtr ItemAt(qint64 time) {
  auto item = std::make_shared<PhotoItem>();
  item->FileTime = time;
  return item;
}
}  // namespace

TEST(PhotoListModel, SortedInsertKeepsNewestFirstAndEqualTimesInArrivalOrder) {
  PhotoListModel model;
  model.insertSorted("b", ItemAt(200));
  model.insertSorted("a", ItemAt(100));
  model.insertSorted("c", ItemAt(300));
  model.insertSorted("b2", ItemAt(200));
  QStringList order;
  for (int row = 0; row < model.count(); ++row) order << model.text(row);
  EXPECT_EQ(order, QStringList({"c", "b", "b2", "a"}));
  EXPECT_EQ(model.findExact("B2"), 2);
  EXPECT_EQ(model.findExact("b "), -1);
}

TEST(PhotoListModel, ReplacingAnItemKeepsItsPlace) {
  PhotoListModel model;
  model.insertSorted("old", ItemAt(100));
  model.insertSorted("new", ItemAt(200));
  model.replaceItem(1, ItemAt(500));
  EXPECT_EQ(model.text(1), "old");
  EXPECT_EQ(model.item(1)->FileTime, 500);
  model.remove(7);  // out of range: nothing happens
  model.remove(0);
  EXPECT_EQ(model.count(), 1);
}
