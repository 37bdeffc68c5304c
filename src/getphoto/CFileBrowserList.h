#pragma once

#include <QIcon>
#include <QWidget>

class QAbstractItemView;
class QListView;
class QStackedLayout;
class QStandardItemModel;
class QTreeView;

// The file browser's list (control 1018): folders and files with their icons in one of
// four view styles (large icons, small icons, list, details with a "Name" column). The
// entries stay in the order added. Enter and a double click open the current entry,
// Backspace asks for the folder above; the list takes those keys for itself.
class CFileBrowserList : public QWidget {
  Q_OBJECT

 public:
  explicit CFileBrowserList(QWidget* parent = nullptr);

  void clear();
  void addEntry(const QString& name, bool folder, const QIcon& icon);
  int count() const;
  QString entryName(int row) const;
  bool isFolder(int row) const;
  // -1 when nothing is selected.
  int currentRow() const;
  void setCurrentRow(int row);
  // The row of the entry of that name, or -1.
  int rowOf(const QString& name) const;

  // In the details style, fits the columns to the entries now listed; call after listing
  // a folder (entries added one by one are not fitted each time).
  void fitColumns();

  // One of Settings' view styles (32775, 32776, 59410, 59411); others are ignored.
  void setViewStyle(int style);
  int viewStyle() const { return m_style; }
  // The view now showing the entries.
  QAbstractItemView* view() const;

 signals:
  void entryActivated(int row);
  void backRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QStandardItemModel* m_model;
  QListView* m_icons;
  QTreeView* m_details;
  QStackedLayout* m_stack;
  int m_style = 0;
};
