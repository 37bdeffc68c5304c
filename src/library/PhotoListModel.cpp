#include "library/PhotoListModel.h"

#include <algorithm>

PhotoListModel::PhotoListModel(QObject* parent) : QAbstractListModel(parent) {}

int PhotoListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant PhotoListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  const Entry& entry = entries_[index.row()];
  if (role == Qt::DisplayRole) return entry.text;
  if (role == PictureRole) return QVariant::fromValue(entry.item);
  return {};
}

QString PhotoListModel::text(int row) const {
  return row >= 0 && row < count() ? entries_[row].text : QString();
}

PhotoItemPtr PhotoListModel::item(int row) const {
  return row >= 0 && row < count() ? entries_[row].item : PhotoItemPtr();
}

int PhotoListModel::findExact(const QString& text, Qt::CaseSensitivity cs) const {
  for (int row = 0; row < count(); ++row)
    if (entries_[row].text.compare(text, cs) == 0) return row;
  return -1;
}

void PhotoListModel::append(const QString& text, PhotoItemPtr item) {
  insert(count(), text, std::move(item));
}

void PhotoListModel::insert(int row, const QString& text, PhotoItemPtr item) {
  row = std::clamp(row, 0, count());
  beginInsertRows(QModelIndex(), row, row);
  entries_.insert(row, Entry{text, std::move(item)});
  endInsertRows();
}

int PhotoListModel::insertSorted(const QString& text, PhotoItemPtr item) {
  const qint64 time = item ? item->FileTime : 0;
  int row = 0;
  while (row < count() && !(entries_[row].item && entries_[row].item->FileTime < time)) ++row;
  insert(row, text, std::move(item));
  return row;
}

void PhotoListModel::replaceItem(int row, PhotoItemPtr item) {
  if (row < 0 || row >= count()) return;
  entries_[row].item = std::move(item);
  const QModelIndex changed = index(row);
  emit dataChanged(changed, changed, {PictureRole});
}

void PhotoListModel::remove(int row) {
  if (row < 0 || row >= count()) return;
  beginRemoveRows(QModelIndex(), row, row);
  entries_.removeAt(row);
  endRemoveRows();
}

void PhotoListModel::clear() {
  beginResetModel();
  entries_.clear();
  endResetModel();
}
