#pragma once

#include <QAbstractListModel>
#include <QList>

#include "library/PhotoItem.h"

// The entries of a picture list: text (a photo's stem, or a fun activity's name) and
// the item drawn for it. Lives on the interface thread; the thumbnail watcher's changes
// are applied here, never to a widget.
class PhotoListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // data(index, PictureRole) holds a PhotoItemPtr.
  static constexpr int PictureRole = Qt::UserRole + 1;

  explicit PhotoListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  int count() const { return int(entries_.size()); }
  QString text(int row) const;
  PhotoItemPtr item(int row) const;
  // The first row whose text equals `text`, ignoring case unless asked not to; -1 when
  // there is none.
  int findExact(const QString& text, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

  void append(const QString& text, PhotoItemPtr item);
  void insert(int row, const QString& text, PhotoItemPtr item);
  // Newest first: before the first entry with an earlier file time; equal times after.
  int insertSorted(const QString& text, PhotoItemPtr item);
  // Replaces the entry's item in place: the entry keeps its position.
  void replaceItem(int row, PhotoItemPtr item);
  void remove(int row);
  void clear();

 private:
  struct Entry {
    QString text;
    PhotoItemPtr item;
  };
  QList<Entry> entries_;
};
